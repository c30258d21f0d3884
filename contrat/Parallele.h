// Work spread over threads the same way by every face: the command line's blocks of rows, the
// Python module's grids. Standard library only.
#pragma once

#include <algorithm>
#include <cstddef>
#include <thread>
#include <vector>

namespace Contrat {

// f(k) for each k of [0, taches) at once, k = 0 on the caller's own thread; returns when all
// are done.
template <class F>
void SurChaqueFil(int taches, F&& f) {
    std::vector<std::thread> fils;
    for (int k = 1; k < taches; ++k) fils.emplace_back([&f, k] { f(k); });
    f(0);
    for (auto& t : fils) t.join();
}

// f(debut, fin) over [0, n) cut into at most `taches` slices of `minimum` elements or more.
template <class F>
void EnParallele(std::size_t n, int taches, F&& f, std::size_t minimum = 4096) {
    const std::size_t k = std::clamp<std::size_t>(static_cast<std::size_t>(std::max(taches, 1)), 1,
                                                  std::max<std::size_t>(n / minimum, 1));
    const std::size_t tranche = (n + k - 1) / k;
    SurChaqueFil(static_cast<int>(k), [&](int i) {
        const auto j = static_cast<std::size_t>(i);
        f(std::min(n, j * tranche), std::min(n, (j + 1) * tranche));
    });
}

}  // namespace Contrat
