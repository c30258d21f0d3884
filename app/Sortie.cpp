// Standard output that never leaves half a line: writes through write(2), the first failure
// kept, a regular file cut back to its last complete line.
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "Cli.h"

namespace Cli {

namespace {

// Rows are gathered into blocks of this size before they are written.
constexpr std::size_t TailleBloc = 1 << 16;

}  // namespace

SortieEntiere::SortieEntiere(int fd) : fd_(fd) {
    struct stat etat {};
    if (fstat(fd_, &etat) == 0 && S_ISREG(etat.st_mode)) debut_ = lseek(fd_, 0, SEEK_CUR);
    tampon_.reserve(TailleBloc);
}

SortieEntiere::~SortieEntiere() {
    Vide();
}

bool SortieEntiere::Vide() {
    const bool fait = Ecrit(tampon_.data(), tampon_.size());
    tampon_.clear();
    return fait;
}

bool SortieEntiere::Ecrit(const char* texte, std::size_t taille) {
    std::size_t fait = 0;
    while (erreur_ == 0 && fait < taille) {
        const ssize_t n = write(fd_, texte + fait, taille - fait);
        if (n < 0) {
            if (errno == EINTR) continue;
            erreur_ = errno;
            break;
        }
        // What reached the file, and where its last complete line ends.
        if (const void* ligne = memrchr(texte + fait, '\n', static_cast<std::size_t>(n)))
            finDeLigne_ = ecrits_ + (static_cast<const char*>(ligne) - (texte + fait)) + 1;
        ecrits_ += n;
        fait += static_cast<std::size_t>(n);
    }
    if (erreur_ != 0 && debut_ >= 0 && ecrits_ > finDeLigne_) {
        // The half line that reached the file goes: a reader sees whole rows or none.
        if (ftruncate(fd_, debut_ + finDeLigne_) == 0) ecrits_ = finDeLigne_;
    }
    return erreur_ == 0;
}

SortieEntiere::int_type SortieEntiere::overflow(int_type c) {
    if (erreur_ != 0) return traits_type::eof();
    if (!traits_type::eq_int_type(c, traits_type::eof())) {
        tampon_.push_back(traits_type::to_char_type(c));
        if (tampon_.size() >= TailleBloc && !Vide()) return traits_type::eof();
    }
    return traits_type::not_eof(c);
}

std::streamsize SortieEntiere::xsputn(const char* s, std::streamsize n) {
    if (erreur_ != 0) return 0;
    const auto taille = static_cast<std::size_t>(n);
    if (tampon_.size() + taille < TailleBloc) {
        tampon_.append(s, taille);
        return n;
    }
    // A large text (a block of rows) goes out as it is, after what was gathered before it.
    if (!Vide() || !Ecrit(s, taille)) return 0;
    return n;
}

int SortieEntiere::sync() {
    return Vide() ? 0 : -1;
}

}  // namespace Cli
