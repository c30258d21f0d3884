// A time zone's rule for the years after its last listed change: the POSIX TZ string that ends
// its file in the time-zone database ("CET-1CEST,M3.5.0,M10.5.0/3"), read and applied by the
// date library's reader. Its interface holds no type of that library, whose reader is built
// apart (it does not yet build as C++20).
#pragma once

#include <memory>
#include <string>

namespace Legal {

class RegleFuseau {
public:
    // The rule at the end of the zone's file, or nullptr when the file has none or the reader
    // does not know it.
    static std::unique_ptr<RegleFuseau> DuFichier(const std::string& fuseau);
    ~RegleFuseau();

    // The period of the rule that holds at a Unix time (seconds): [debut, fin) and its offset
    // from UTC (seconds) and abbreviation.
    struct Periode {
        long long debut, fin;
        long long decalage;
        std::string abreviation;
    };
    Periode En(long long unix) const;

private:
    struct Lecteur;
    explicit RegleFuseau(std::unique_ptr<Lecteur> lecteur);
    std::unique_ptr<Lecteur> lecteur_;
};

}  // namespace Legal
