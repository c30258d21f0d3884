"""The Python module's build: the package python/orvanel and its compiled half, built by CMake
from this tree (the engine, the time model and legal time are the program's own)."""
import os
import pathlib
import re
import shutil
import subprocess
import sys

from setuptools import Extension, setup
from setuptools.command.build_ext import build_ext

RACINE = pathlib.Path(__file__).resolve().parent


def version():
    """The program's version, from the one place it is written."""
    texte = (RACINE / "CMakeLists.txt").read_text(encoding="utf-8")
    return re.search(r"project\(\s*\w+\s+VERSION\s+([0-9.]+)", texte).group(1)


class ConstruitAvecCMake(build_ext):
    """Builds the target _orvanel with CMake, without the windows, tests or benchmarks, for the
    Python that runs this build, and puts it where setuptools expects the extension."""

    def build_extension(self, ext):
        cible = pathlib.Path(self.get_ext_fullpath(ext.name)).resolve()
        arbre = pathlib.Path(self.build_temp).resolve() / "cmake"
        arbre.mkdir(parents=True, exist_ok=True)
        subprocess.run(["cmake", "-S", str(RACINE), "-B", str(arbre), "-DCMAKE_BUILD_TYPE=Release",
                        "-DORVANEL_BUILD_UI=OFF", "-DORVANEL_BUILD_TESTS=OFF",
                        "-DORVANEL_BUILD_BENCH=OFF", f"-DPython3_EXECUTABLE={sys.executable}"],
                       check=True)
        subprocess.run(["cmake", "--build", str(arbre), "--target", "_orvanel", "--parallel",
                        str(os.cpu_count() or 1)], check=True)
        construit = next((arbre / "python" / "orvanel").glob("_orvanel*.so"), None)
        if construit is None:
            sys.exit("the compiled half was not built: are Python's headers, pybind11, CLI11, "
                     "nlohmann-json and the date library installed (tools/setup.sh)?")
        cible.parent.mkdir(parents=True, exist_ok=True)
        shutil.copy2(construit, cible)


setup(version=version(), packages=["orvanel"], package_dir={"orvanel": "python/orvanel"},
      ext_modules=[Extension("orvanel._orvanel", sources=[])],
      cmdclass={"build_ext": ConstruitAvecCMake})
