// The same from C++, found with find_package(Orvanel): the header is C and C++ both.
#include <orvanel/orvanel.h>

#include <cstdio>

extern "C" {
#include "instants.h"
}

int main() {
    for (const cas_instant& c : CAS_INSTANTS) {
        const orvanel_site site{c.longitude, c.latitude, c.hauteur};
        orvanel_position p{};
        if (const int e = orvanel_position_at(cas_unix(&c), &site, c.tt, &p); e != ORVANEL_OK) {
            std::fprintf(stderr, "%s\n", orvanel_error_text(e));
            return 1;
        }
        std::printf("%a %a %a %a %a %a\n", p.right_ascension_deg, p.declination_deg, p.distance_au,
                    p.equation_of_time_min, p.azimuth_deg, p.elevation_deg);
    }
    std::printf("version %s\n", orvanel_version());
    return 0;
}
