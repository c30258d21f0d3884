// The Sun's apparent place and its topocentric azimuth and altitude from ERFA (the open
// edition of the IAU SOFA routines), IAU 2006/2000A: the independent reference of the engine's
// accuracy tests and of the day's events. UT1 is taken as UTC, dynamical time is UTC +
// TEmoinsTU; refraction and diurnal aberration are left out.
#pragma once

#include <erfa.h>
#include <erfam.h>

#include <cmath>

#include "PosSoleil.h"

namespace ReferenceErfa {

// The IAU 1976 ellipsoid that the engine uses for the observer's place.
inline constexpr double RayonEquatorial = 6378140.0, Aplatissement = 1.0 / 298.257;

struct Reference {
    double alpha, delta, rayon, azimut, hauteur;  // radians, au
    double angleHoraire;                          // topocentric, radians, in (-pi, pi]
};

// The apparent geocentric Sun on the true equator and equinox of date, and its topocentric
// azimuth (from north through east), altitude and hour angle at a UTC date-time value.
inline Reference Soleil(double t, const PosSoleil::Site& site, double TEmoinsTU) {
    const double mjd = t + (PosSoleil::JourJulienOrigine - ERFA_DJM0);  // UTC, taken as UT1
    const double tt = mjd + TEmoinsTU / ERFA_DAYSEC;
    double pvh[2][3], pvb[2][3];
    eraEpv00(ERFA_DJM0, tt, pvh, pvb);
    const double terre[3] = {pvb[0][0], pvb[0][1], pvb[0][2]};

    // The Sun where it was one light time earlier, seen from the Earth now.
    double soleil[3] = {0, 0, 0}, distance = 0.0, retard = 0.0;
    for (int i = 0; i < 3; ++i) {
        double h[2][3], b[2][3];
        eraEpv00(ERFA_DJM0, tt - retard, h, b);
        for (int k = 0; k < 3; ++k) soleil[k] = (b[0][k] - h[0][k]) - terre[k];
        distance = eraPm(soleil);
        retard = distance * ERFA_AULT / ERFA_DAYSEC;
    }
    double direction[3];
    eraSxp(1.0 / distance, soleil, direction);

    // Annual aberration from the Earth's barycentric velocity.
    double v[3];
    eraSxp(ERFA_AULT / ERFA_DAYSEC, pvb[1], v);
    const double bm1 = std::sqrt(1.0 - eraPm(v) * eraPm(v));
    double apparente[3];
    eraAb(direction, v, eraPm(pvh[0]), bm1, apparente);

    // Bias, precession and nutation to the true equator and equinox of date.
    double rnpb[3][3], vraie[3];
    eraPnm06a(ERFA_DJM0, tt, rnpb);
    eraRxp(rnpb, apparente, vraie);
    Reference r{};
    eraC2s(vraie, &r.alpha, &r.delta);
    r.rayon = eraPm(pvh[0]);

    // The observer on the ellipsoid at its height, turned by the apparent sidereal time.
    const double gast = eraGst06a(ERFA_DJM0, mjd, ERFA_DJM0, tt);
    double xyz[3];
    eraGd2gce(RayonEquatorial, Aplatissement, site.Longitude * ERFA_DD2R, site.Latitude * ERFA_DD2R,
              site.Altitude, xyz);
    double observateur[3];
    eraSxp(1.0 / ERFA_DAU, xyz, xyz);
    double rz[3][3];
    eraIr(rz);
    eraRz(-gast, rz);
    eraRxp(rz, xyz, observateur);
    double topocentrique[3], geocentrique[3];
    eraSxp(distance, vraie, geocentrique);
    eraPmp(geocentrique, observateur, topocentrique);
    double alphaTopo = 0.0, deltaTopo = 0.0;
    eraC2s(topocentrique, &alphaTopo, &deltaTopo);
    r.angleHoraire = eraAnpm(gast + site.Longitude * ERFA_DD2R - alphaTopo);
    eraHd2ae(r.angleHoraire, deltaTopo, site.Latitude * ERFA_DD2R, &r.azimut, &r.hauteur);
    return r;
}

}  // namespace ReferenceErfa
