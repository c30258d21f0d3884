# The Python module's reference, from its numpydoc docstrings. Run by tools/docs.sh, with the
# built module on PYTHONPATH.
project = "orvanel"
author = "The Orvanel developers"
extensions = ["sphinx.ext.autodoc", "numpydoc"]
numpydoc_show_class_members = False
numpydoc_validation_checks = {"PR01", "PR02", "RT01"}  # every parameter and return documented
html_theme = "alabaster"
exclude_patterns = ["Doxyfile"]
