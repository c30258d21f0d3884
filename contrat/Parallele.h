// Work spread over threads the same way by every face: the command line's blocks of rows, the
// Python module's grids. Standard library only.
#pragma once

#include <algorithm>
#include <condition_variable>
#include <cstddef>
#include <mutex>
#include <thread>
#include <type_traits>
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

// The same over threads started once and kept while the object lives, for callers that hand
// out many short rounds of work (starting a thread costs about as much as a block of rows).
class Equipe {
public:
    explicit Equipe(int taches) {
        for (int k = 1; k < std::max(1, taches); ++k) fils_.emplace_back([this, k] { Attend(k); });
    }
    ~Equipe() {
        {
            const std::lock_guard verrou(mutex_);
            fin_ = true;
        }
        appel_.notify_all();
        for (auto& t : fils_) t.join();
    }
    Equipe(const Equipe&) = delete;
    Equipe& operator=(const Equipe&) = delete;

    int Taches() const noexcept { return static_cast<int>(fils_.size()) + 1; }

    // f(k) for each k of [0, Taches()) at once, k = 0 on the caller's thread; returns when all
    // are done.
    template <class F>
    void SurChaqueFil(F&& f) {
        {
            const std::lock_guard verrou(mutex_);
            travail_ = [](void* g, int k) { (*static_cast<std::remove_reference_t<F>*>(g))(k); };
            contexte_ = const_cast<void*>(static_cast<const void*>(&f));
            restants_ = fils_.size();
            ++tour_;
        }
        appel_.notify_all();
        f(0);
        std::unique_lock verrou(mutex_);
        fini_.wait(verrou, [this] { return restants_ == 0; });
    }

private:
    void Attend(int k) {
        unsigned long long vu = 0;
        for (;;) {
            std::unique_lock verrou(mutex_);
            appel_.wait(verrou, [&] { return fin_ || tour_ != vu; });
            if (fin_) return;
            vu = tour_;
            void (*travail)(void*, int) = travail_;
            void* contexte = contexte_;
            verrou.unlock();
            travail(contexte, k);
            verrou.lock();
            if (--restants_ == 0) fini_.notify_one();
        }
    }

    std::mutex mutex_;
    std::condition_variable appel_, fini_;
    void (*travail_)(void*, int) = nullptr;
    void* contexte_ = nullptr;
    std::size_t restants_ = 0;
    unsigned long long tour_ = 0;
    bool fin_ = false;
    std::vector<std::thread> fils_;  // last, so that the state above exists before they start
};

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
