/* Built against an installed Orvanel with nothing but `pkg-config --cflags --libs orvanel`:
 * prints each case's position in hexadecimal floating point, then every error code's text. */
#include <math.h>
#include <orvanel/orvanel.h>
#include <stdio.h>

#include "instants.h"

int main(void) {
    for (size_t i = 0; i < NOMBRE_CAS; ++i) {
        const struct cas_instant* c = &CAS_INSTANTS[i];
        const orvanel_site site = {c->longitude, c->latitude, c->hauteur};
        orvanel_position p;
        const int e = orvanel_position_at(cas_unix(c), &site, c->tt, &p);
        if (e != ORVANEL_OK) {
            fprintf(stderr, "case %zu: %s\n", i, orvanel_error_text(e));
            return 1;
        }
        printf("%a %a %a %a %a %a\n", p.right_ascension_deg, p.declination_deg, p.distance_au,
               p.equation_of_time_min, p.azimuth_deg, p.elevation_deg);
    }
    printf("version %s\n", orvanel_version());
    return 0;
}
