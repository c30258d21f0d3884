// The C interface of the Sun on a surface: the engine's incidence, trackers, air mass, irradiance
// above the atmosphere and solar time, each input checked against the contract's ranges.
#include <cmath>
#include <span>
#include <vector>

#include "Commun.h"

using namespace Orvanel;

namespace {

bool PlanDonne(double tilt, double azimut, double zenith, double azimutSoleil) noexcept {
    return Contrat::Dans(Contrat::InclinaisonPlan, tilt) && Contrat::AzimutDonne(azimut) &&
           Contrat::Dans(Contrat::DistanceZenithale, zenith) && Contrat::AzimutDonne(azimutSoleil);
}

}  // namespace

extern "C" {

double orvanel_aoi_projection(double surface_tilt_deg, double surface_azimuth_deg,
                              double zenith_deg, double azimuth_deg) {
    if (!PlanDonne(surface_tilt_deg, surface_azimuth_deg, zenith_deg, azimuth_deg)) return NAN;
    return PosSoleil::ProjectionIncidence(surface_tilt_deg, surface_azimuth_deg, zenith_deg,
                                          azimuth_deg);
}

double orvanel_aoi(double surface_tilt_deg, double surface_azimuth_deg, double zenith_deg,
                   double azimuth_deg) {
    if (!PlanDonne(surface_tilt_deg, surface_azimuth_deg, zenith_deg, azimuth_deg)) return NAN;
    return PosSoleil::Incidence(surface_tilt_deg, surface_azimuth_deg, zenith_deg, azimuth_deg);
}

int orvanel_singleaxis(const orvanel_tracker* tracker, const double* apparent_zenith_deg,
                       const double* apparent_azimuth_deg, size_t n, orvanel_tracker_state* out) {
    if (n == 0) return ORVANEL_OK;
    if (!tracker || !apparent_zenith_deg || !apparent_azimuth_deg || !out)
        return ORVANEL_ERROR_NULL;
    const PosSoleil::Suiveur s = Suiveur(*tracker);
    if (Contrat::SuiveurHorsPlage(s)) return ORVANEL_ERROR_ARGUMENT;
    for (size_t i = 0; i < n; ++i) {
        const double z = apparent_zenith_deg[i], a = apparent_azimuth_deg[i];
        if (!(std::isnan(z) || Contrat::Dans(Contrat::DistanceZenithale, z)) ||
            !(std::isnan(a) || Contrat::AzimutDonne(a)))
            return ORVANEL_ERROR_ARGUMENT;
    }
    // The engine's own rows, written into the caller's: the same four doubles.
    static_assert(sizeof(orvanel_tracker_state) == sizeof(PosSoleil::Orientation));
    PosSoleil::Orientation paquet[512];
    for (size_t debut = 0; debut < n; debut += std::size(paquet)) {
        const size_t m = std::min(std::size(paquet), n - debut);
        PosSoleil::Suivis(s, std::span(apparent_zenith_deg + debut, m),
                          std::span(apparent_azimuth_deg + debut, m), std::span(paquet, m));
        for (size_t i = 0; i < m; ++i)
            out[debut + i] = {paquet[i].rotation, paquet[i].inclinaison, paquet[i].azimut,
                              paquet[i].incidence};
    }
    return ORVANEL_OK;
}

double orvanel_airmass_relative(double apparent_zenith_deg) {
    if (!Contrat::Dans(Contrat::DistanceZenithale, apparent_zenith_deg)) return NAN;
    return PosSoleil::MasseAirRelative(apparent_zenith_deg);
}

double orvanel_airmass_absolute(double apparent_zenith_deg, double pressure_hpa) {
    if (!Contrat::Dans(Contrat::PressionPa, pressure_hpa * 100)) return NAN;
    return PosSoleil::MasseAirAbsolue(orvanel_airmass_relative(apparent_zenith_deg),
                                      Contrat::CmHgDeHpa(pressure_hpa));
}

int orvanel_extra_radiation(double unix_utc, double tt_minus_utc, double* w_m2) {
    if (!w_m2) return ORVANEL_ERROR_NULL;
    if (int e = VerifieTt(tt_minus_utc)) return e;
    if (int e = VerifieInstant(unix_utc)) return e;
    const double t = DateValeur(unix_utc);
    *w_m2 = PosSoleil::IrradianceHorsAtmosphere(
        PosSoleil::PositionGeocentrique(t, Tt(t, tt_minus_utc)).RayonVecteur);
    return ORVANEL_OK;
}

int orvanel_solar_time(double unix_utc, const orvanel_site* site, double tt_minus_utc,
                       double* hour_angle_deg, double* solar_time_h) {
    if (!site) return ORVANEL_ERROR_NULL;
    if (int e = VerifieSite(*site)) return e;
    if (int e = VerifieTt(tt_minus_utc)) return e;
    if (int e = VerifieInstant(unix_utc)) return e;
    const double t = DateValeur(unix_utc);
    double H = 0;
    PosSoleil::PositionTopocentrique(PosSoleil::PositionGeocentrique(t, Tt(t, tt_minus_utc)),
                                     Site(*site), H);
    if (hour_angle_deg) *hour_angle_deg = PosSoleil::AngleHoraireReduit(H);
    if (solar_time_h) *solar_time_h = PosSoleil::TempsSolaireVrai(H);
    return ORVANEL_OK;
}

}  // extern "C"
