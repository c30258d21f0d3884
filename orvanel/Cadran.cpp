// The C library's sundial: the shadow of a dial's gnomon at many instants.
#include <cmath>

#include "Commun.h"

using namespace Orvanel;

int orvanel_sundial_shadow(const orvanel_site* site, const orvanel_sundial* dial,
                           const double* unix_utc, size_t n, double tt_minus_utc,
                           double pressure_hpa, double temperature_c, double* x_mm, double* y_mm,
                           int* lit) {
    if (!site || !dial) return ORVANEL_ERROR_NULL;
    if (n > 0 && (!unix_utc || !x_mm || !y_mm || !lit)) return ORVANEL_ERROR_NULL;
    if (int e = VerifieSite(*site)) return e;
    if (int e = VerifieTt(tt_minus_utc)) return e;
    const bool sansMeteo = std::isnan(pressure_hpa) && std::isnan(temperature_c);
    if (!sansMeteo && (!Contrat::Dans(Contrat::PressionPa, pressure_hpa * 100) ||
                       !Contrat::Dans(Contrat::Temperature, temperature_c)))
        return ORVANEL_ERROR_ARGUMENT;
    PosSoleil::Cadran c;
    c.azimutMur = dial->wall_azimuth_deg;
    c.inclinaison = dial->inclination_deg;
    c.gnomon = dial->nodus ? PosSoleil::Gnomon::Nodus : PosSoleil::Gnomon::StylePolaire;
    c.longueur = dial->length_mm;
    if (!Contrat::Dans(Contrat::LongueurGnomon, c.longueur) ||
        PosSoleil::VerifieCadran(c, site->latitude_deg) != PosSoleil::DefautCadran::Aucun)
        return ORVANEL_ERROR_ARGUMENT;
    for (size_t i = 0; i < n; ++i)
        if (int e = VerifieInstant(unix_utc[i])) return e;
    const PosSoleil::Site s = Site(*site);
    for (size_t i = 0; i < n; ++i) {
        const double t = DateValeur(unix_utc[i]);
        const PosSoleil::Position p = PosSoleil::PositionSoleil(t, s, Tt(t, tt_minus_utc));
        const double hauteur =
            sansMeteo ? p.Hauteur
                      : p.Hauteur + PosSoleil::Refraction(
                                        p.Hauteur, Contrat::CmHgDeHpa(pressure_hpa), temperature_c);
        const PosSoleil::Ombre o = PosSoleil::OmbreCadran(c, site->latitude_deg, p.Azimut, hauteur);
        x_mm[i] = o.x;
        y_mm[i] = o.y;
        lit[i] = o.eclaire ? 1 : 0;
    }
    return ORVANEL_OK;
}
