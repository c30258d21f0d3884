/* Instants and sites that the programs built against the installed library and the in-tree
 * reference both compute: civil UTC figures, so that each side builds its own time. */
#ifndef ORVANEL_TESTS_INSTANTS_H
#define ORVANEL_TESTS_INSTANTS_H

struct cas_instant {
    int annee, mois, jour, heure, minute, seconde;
    double longitude, latitude, hauteur, tt; /* tt: dynamical time - UTC, seconds */
};

static const struct cas_instant CAS_INSTANTS[] = {
    {1980, 1, 1, 0, 0, 0, 0, 0, 0, 50.5},
    {1999, 12, 31, 23, 59, 59, -180, -89.9, 0, 63.8},
    {2026, 6, 21, 10, 24, 0, 2.35, 48.85, 35, 69.184},
    {2026, 12, 9, 6, 0, 30, -70.5, -33.45, 520, 69.184},
    {2043, 3, 20, 12, 0, 0, 180, 89.9, 10000, 80},
    {2100, 2, 28, 18, 30, 15, 139.7, 35.7, -1000, 120},
    {2250, 12, 31, 23, 59, 59, -0.5, 51.5, 12, 400},
};
#define NOMBRE_CAS (sizeof CAS_INSTANTS / sizeof CAS_INSTANTS[0])

/* Seconds since 1970 of a civil UTC date and time (proleptic Gregorian). */
static inline double cas_unix(const struct cas_instant* c) {
    long long y = c->annee - (c->mois <= 2);
    const long long era = (y >= 0 ? y : y - 399) / 400;
    const long long yoe = y - era * 400;
    const long long mp = (c->mois + 9) % 12;
    const long long doy = (153 * mp + 2) / 5 + c->jour - 1;
    const long long doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    const long long jours = era * 146097 + doe - 719468;
    return (double)(jours * 86400 + c->heure * 3600 + c->minute * 60 + c->seconde);
}

#endif
