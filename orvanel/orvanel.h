/** @file orvanel.h
 * Orvanel: the apparent position of the Sun for a site on the Earth, from the complete VSOP87D
 * theory with nutation, aberration and parallax (and refraction on request), and the day's
 * events in a site's sky, as a C library.
 *
 * Times are seconds since 1970-01-01T00:00:00Z, UTC, without leap seconds (Unix time).
 * Angles are in degrees, distances in astronomical units. Every function is reentrant: the
 * library holds no state, so threads may call it at once.
 *
 * Functions that compute return ORVANEL_OK (0), or one of the codes below when an input is
 * outside its range; then nothing at all is written to the output. UT1 is taken equal to UTC. */
#ifndef ORVANEL_ORVANEL_H
#define ORVANEL_ORVANEL_H

#include <stddef.h>

#include "orvanel_ranges.h"

#ifdef __cplusplus
extern "C" {
#endif

#if defined(__GNUC__)
#define ORVANEL_API __attribute__((visibility("default")))
#else
#define ORVANEL_API
#endif

/* The ranges of the inputs are the macros of orvanel_ranges.h. */

/* ---- Results ---- */

#define ORVANEL_OK 0         /**< the call computed and wrote its output */
#define ORVANEL_ERROR_NULL 1 /**< a pointer the call needs is null */
/** Longitude, latitude or height out of its range above, or one of them not a number. */
#define ORVANEL_ERROR_SITE 2
#define ORVANEL_ERROR_TIME 3     /**< a time that is not a finite number */
#define ORVANEL_ERROR_DATE 4     /**< a date outside ORVANEL_FIRST_YEAR .. ORVANEL_LAST_YEAR */
#define ORVANEL_ERROR_TT 5       /**< tt_minus_utc neither NaN nor within its range above */
#define ORVANEL_ERROR_ARGUMENT 6 /**< another argument out of its range (see the function) */
#define ORVANEL_ERROR_SKY 7      /**< a sky out of the ranges below (see orvanel_sky) */
/** More events in a day than ORVANEL_MAX_SKY_EVENTS, or an output too small for the year. */
#define ORVANEL_ERROR_CAPACITY 8

/** A sentence (English) for a result code; "unknown result code" for any other. */
ORVANEL_API const char* orvanel_error_text(int code);

/** The library's version, "1.01". */
ORVANEL_API const char* orvanel_version(void);

/* ---- Positions ---- */

/** A site on the Earth. */
typedef struct orvanel_site {
    double longitude_deg; /**< East positive */
    double latitude_deg;  /**< geodetic, North positive */
    double height_m;      /**< above the IAU 1976 ellipsoid (6378140 m, 1/298.257) */
} orvanel_site;

/** The Sun's apparent place at an instant and a site. */
typedef struct orvanel_position {
    double right_ascension_deg;  /**< apparent, geocentric, [0, 360) */
    double declination_deg;      /**< apparent, geocentric */
    double distance_au;          /**< Sun - Earth */
    double equation_of_time_min; /**< apparent minus mean solar time */
    double azimuth_deg;          /**< topocentric, from north through east, [0, 360) */
    double elevation_deg;        /**< topocentric, without refraction */
} orvanel_position;

/** Dynamical time minus UTC in seconds at a UTC instant, as orvanel-cli takes it by default:
 * TAI - UTC + 32.184 s from the leap seconds' table while it holds, the model of
 * Delta T of Espenak and Meeus (2006) before, and after it the model joined to the table's
 * last value without a jump. NaN for a time that is not finite. */
ORVANEL_API double orvanel_tt_minus_utc(double unix_utc);

/** The position at one instant. tt_minus_utc: dynamical time - UTC in seconds, or NaN for the
 * default at the instant. The figures are those of the engine's CalculPosition for the same
 * civil instant, to the bit. */
ORVANEL_API int orvanel_position_at(double unix_utc, const orvanel_site* site, double tt_minus_utc,
                                    orvanel_position* out);

/** n instants at one site: out[i] is orvanel_position_at(unix_utc[i], ...). A NaN tt_minus_utc
 * takes the default at each instant. Every input is checked before anything is written. */
ORVANEL_API int orvanel_positions(const double* unix_utc, size_t n, const orvanel_site* site,
                                  double tt_minus_utc, orvanel_position* out);

/** n sites at one instant: out[i] is orvanel_position_at(unix_utc, &sites[i], ...), to the bit,
 * with the part that every site shares (the series, the nutation, the sidereal time) computed
 * once. */
ORVANEL_API int orvanel_positions_sites(double unix_utc, const orvanel_site* sites, size_t n,
                                        double tt_minus_utc, orvanel_position* out);

/** A regular series at one site: out[i] at unix_start + i * step_s, within 1e-10 degree and
 * 1e-13 au of the engine's position at the instant the series reckons (unix_start carried by
 * i * step_s in the engine's date-time values), several times faster. Against
 * orvanel_position_at of that Unix time, the two reckonings of the instant may differ by a few
 * microseconds: up to some 2e-7 degree on the sky (1.5e-7 measured in altitude at 1 s steps
 * through a day), and in azimuth that divided by the sine of the zenith distance, so more near
 * the zenith (4e-6 degree half a degree from it). step_s: -1e9..1e9 seconds
 * (else ORVANEL_ERROR_ARGUMENT); every instant of the series must lie within the dates. A NaN
 * tt_minus_utc takes the default, followed along the series. */
ORVANEL_API int orvanel_series(double unix_start, double step_s, size_t n, const orvanel_site* site,
                               double tt_minus_utc, orvanel_position* out);

/** Atmospheric refraction to add to a true elevation, degrees: zero at -1 degree and below.
 * pressure_hpa within the model's domain above (ORVANEL_PRESSURE_MIN_MMHG to _MAX_MMHG, that is
 * 266.64 to 1199.90 hPa) and temperature_c within its range; NaN for any input out of range or
 * not finite. */
ORVANEL_API double orvanel_refraction(double elevation_deg, double pressure_hpa,
                                      double temperature_c);

/* ---- The day's events ---- */

/** The kinds of event of a day. */
enum orvanel_event_type {
    ORVANEL_TRANSIT = 0,       /**< upper culmination: the topocentric hour angle crosses 0 */
    ORVANEL_LOWER_TRANSIT = 1, /**< lower culmination: it crosses 180 degrees */
    ORVANEL_RISE = 2,          /**< a threshold crossed upwards: sunrise, or a twilight's dawn */
    ORVANEL_SET = 3            /**< a threshold crossed downwards: sunset, or a twilight's dusk */
};

/** The thresholds of the Sun's centre, and what each did during the day. */
enum orvanel_threshold {
    ORVANEL_HORIZON = 0,     /**< -0 deg 50' (or the sky's own): sunrise and sunset */
    ORVANEL_CIVIL = 1,       /**< -6 degrees */
    ORVANEL_NAUTICAL = 2,    /**< -12 degrees */
    ORVANEL_ASTRONOMICAL = 3 /**< -18 degrees */
};
/** What a threshold did during a day. */
enum orvanel_state {
    ORVANEL_CROSSED = 0,      /**< crossed at least once */
    ORVANEL_ALWAYS_ABOVE = 1, /**< never: the Sun stayed above it all day (polar day) */
    ORVANEL_ALWAYS_BELOW = 2  /**< never: the Sun stayed below it all day (polar night) */
};

/** One event of a day. */
typedef struct orvanel_event {
    int type;             /**< enum orvanel_event_type */
    int threshold;        /**< enum orvanel_threshold for ORVANEL_RISE and ORVANEL_SET, or
                               ORVANEL_OWN_THRESHOLD + i for a sky's own threshold i; -1 for a
                               transit */
    double unix_utc;      /**< its time, to the millisecond */
    double azimuth_deg;   /**< the Sun's, from north through east */
    double elevation_deg; /**< the Sun's, topocentric, without refraction */
} orvanel_event;

/** A day of a site under the flat horizon at sea level. */
typedef struct orvanel_day {
    double start_unix_utc;        /**< 00:00 UTC of the date less longitude / 15 h */
    int count;                    /**< events, in time order */
    orvanel_event events[24];     /**< the events, count of them */
    int states[4];                /**< enum orvanel_state, indexed by enum orvanel_threshold */
    double day_length_min;        /**< the Sun's centre above -0 deg 50' during the day */
    double day_length_change_min; /**< day_length_min minus the previous day's */
} orvanel_day;

/* ---- The sky of a site ----
 * What a day's events are measured against beyond the flat horizon at sea level. */

/** A point of a skyline. */
typedef struct orvanel_skyline_point {
    double azimuth_deg;  /**< from north through east; any finite value, taken modulo 360 */
    double altitude_deg; /**< apparent, ORVANEL_SKYLINE_MIN_DEG .. ORVANEL_SKYLINE_MAX_DEG */
} orvanel_skyline_point;

/** A sky (all zeros and nulls: the flat horizon at sea level):
 * - eye_height_m: 0 .. ORVANEL_EYE_HEIGHT_MAX_M; the twilights keep -6, -12 and -18 degrees;
 * - thresholds_deg: threshold_count altitudes of the centre (topocentric, without refraction),
 *   each once, whose crossings up and down are events of their own (+6 and -4 degrees end the
 *   golden and blue hours);
 * - skyline: skyline_count points (two or more, or none), interpolated linearly in azimuth
 *   around the circle: rise and set when the upper limb, refracted, touches it; the Sun may
 *   set and rise again behind it. A skyline and an eye height together are refused. */
typedef struct orvanel_sky {
    double eye_height_m;                  /**< metres above a flat sea or plain */
    const double* thresholds_deg;         /**< own thresholds, degrees */
    size_t threshold_count;               /**< how many */
    const orvanel_skyline_point* skyline; /**< a skyline's points */
    size_t skyline_count;                 /**< how many: none, or two or more */
} orvanel_sky;

/** A day of a site in a sky. */
typedef struct orvanel_sky_day {
    int year;              /**< the date whose day this is: its year, */
    int month;             /**< its month, */
    int day;               /**< and its day */
    double start_unix_utc; /**< 00:00 UTC of the date less longitude / 15 h */
    int count;             /**< events, in time order */
    orvanel_event events[ORVANEL_MAX_SKY_EVENTS]; /**< the events, count of them */
    int states[4]; /**< enum orvanel_state, indexed by enum orvanel_threshold; [0] is rise and
                        set in this sky */
    int threshold_states[ORVANEL_MAX_THRESHOLDS]; /**< of each own threshold, in its order */
    double day_length_min;        /**< between rise and set, the Sun above this sky's horizon */
    double day_length_change_min; /**< day_length_min minus the previous day's */
} orvanel_sky_day;

/** The events of a date at a site in a sky (null for the flat horizon), those of orvanel-cli's
 * `jour` with the same sky to the bit: dynamical time - UTC at the date's noon, or a NaN
 * tt_minus_utc for the default there (and at the eve's noon for the change of the day length).
 * Returns ORVANEL_ERROR_SKY for a sky out of its ranges, ORVANEL_ERROR_CAPACITY for a day of
 * more than ORVANEL_MAX_SKY_EVENTS events; then nothing is written. */
ORVANEL_API int orvanel_sky_day_events(int year, int month, int day, const orvanel_site* site,
                                       const orvanel_sky* sky, double tt_minus_utc,
                                       orvanel_sky_day* out);

/** Every date of a year at a site in a sky, out[d] the orvanel_sky_day_events of the d-th date
 * (those of orvanel-cli's `annee`), the Sun computed once for the year: several times faster
 * than the dates one by one. capacity: the days out holds, at least the year's 365 or 366 (else
 * ORVANEL_ERROR_CAPACITY). */
ORVANEL_API int orvanel_year_events(int year, const orvanel_site* site, const orvanel_sky* sky,
                                    double tt_minus_utc, orvanel_sky_day* out, size_t capacity);

/* ---- The Sun on a surface ----
 * Angles in degrees; azimuths from north through east, any finite value taken modulo 360. */

/** The cosine of the angle of incidence of the Sun (zenith distance and azimuth) on a plane of
 * a tilt and an azimuth: cos z cos tilt + sin z sin tilt cos(azimuth - plane's azimuth), within
 * [-1, 1], negative when the Sun is behind the plane. NaN for an input out of range or NaN. */
ORVANEL_API double orvanel_aoi_projection(double surface_tilt_deg, double surface_azimuth_deg,
                                          double zenith_deg, double azimuth_deg);

/** The angle of incidence itself, degrees in [0, 180]; NaN as orvanel_aoi_projection. */
ORVANEL_API double orvanel_aoi(double surface_tilt_deg, double surface_azimuth_deg,
                               double zenith_deg, double azimuth_deg);

/** A single-axis tracker row and its field. */
typedef struct orvanel_tracker {
    double axis_tilt_deg;       /**< the axis' tilt, 0 for a horizontal axis */
    double axis_azimuth_deg;    /**< where the axis points (down its tilt), 180 to the south */
    double max_angle_deg;       /**< the greatest rotation either way from flat */
    double gcr;                 /**< modules' width over the horizontal distance between rows */
    double cross_axis_tilt_deg; /**< the ground's slope across the rows, positive in the sense
                                     of the rotation (rising to the east for an axis south) */
    int backtrack;              /**< nonzero: turn back so that rows never shade each other */
} orvanel_tracker;

/** A tracker at one position of the Sun: all NaN while the Sun is below the horizon. */
typedef struct orvanel_tracker_state {
    double theta_deg;           /**< rotation, right-handed about the axis (west positive for an
                                     axis pointing south) */
    double surface_tilt_deg;    /**< the modules' tilt */
    double surface_azimuth_deg; /**< the azimuth their normal faces, [0, 360) */
    double aoi_deg;             /**< the angle of incidence on them */
} orvanel_tracker_state;

/** A tracker for n positions of the Sun (apparent zenith distances and azimuths): the rotation
 * that brings the modules' normal nearest the Sun (Marion & Dobos, NREL/TP-6A20-58891, 2013),
 * with backtracking the rotation at which a row's shadow just reaches the next (Anderson &
 * Mikofski, NREL/TP-5K00-76626, 2020, on a cross slope), within +-max_angle_deg. A zenith
 * distance must be NaN or within 0 .. ORVANEL_ZENITH_MAX_DEG, an azimuth NaN or finite, the
 * tracker within its ranges above (else ORVANEL_ERROR_ARGUMENT, nothing written). */
ORVANEL_API int orvanel_singleaxis(const orvanel_tracker* tracker,
                                   const double* apparent_zenith_deg,
                                   const double* apparent_azimuth_deg, size_t n,
                                   orvanel_tracker_state* out);

/** The relative optical air mass at an apparent zenith distance, Kasten & Young (Applied Optics
 * 28, 4735, 1989): 1 / (cos z + 0.50572 (96.07995 - z)^-1.6364); NaN below the horizon. */
ORVANEL_API double orvanel_airmass_relative(double apparent_zenith_deg);

/** The absolute air mass: the relative one times pressure / 1013.25 hPa, the pressure within
 * the range of refraction's (NaN outside it). */
ORVANEL_API double orvanel_airmass_absolute(double apparent_zenith_deg, double pressure_hpa);

/** The irradiance at the top of the atmosphere on a surface facing the Sun at an instant,
 * W/m2: 1361 W/m2 (Kopp & Lean 2011) over the square of the Earth - Sun distance in au. */
ORVANEL_API int orvanel_extra_radiation(double unix_utc, double tt_minus_utc, double* w_m2);

/** The Sun's topocentric hour angle at a site (westward from the meridian, degrees in
 * [-180, 180)) and the apparent solar time (hours in [0, 24), 12 at the transit). Either
 * pointer may be null. */
ORVANEL_API int orvanel_solar_time(double unix_utc, const orvanel_site* site, double tt_minus_utc,
                                   double* hour_angle_deg, double* solar_time_h);

/** The events of a civil day at a site: the very day of orvanel_sky_day_events with a null sky.
 * A NaN tt_minus_utc takes the default at the date's noon, and at the eve's noon for the change
 * of the day length. The date must lie within the years ORVANEL_FIRST_YEAR .. ORVANEL_LAST_YEAR
 * (else ORVANEL_ERROR_DATE). */
ORVANEL_API int orvanel_day_events(int year, int month, int day, const orvanel_site* site,
                                   double tt_minus_utc, orvanel_day* out);

/* ---- A sundial ---- */

/** A planar sundial: the plane and its gnomon. */
typedef struct orvanel_sundial {
    double wall_azimuth_deg; /**< the azimuth the face looks toward, from north through east
                                  (180: a wall facing due south; the gnomonists' declination is
                                  this less 180, positive toward the west) */
    double inclination_deg;  /**< the plane's tilt: 0 horizontal facing up, 90 vertical, up to
                                  ORVANEL_SURFACE_TILT_MAX_DEG facing down */
    int nodus;               /**< 0: a polar style length_mm from its foot along the Earth's
                                  axis; nonzero: a nodus length_mm from the plane on its normal */
    double length_mm;        /**< ORVANEL_GNOMON_MIN_MM .. ORVANEL_GNOMON_MAX_MM */
} orvanel_sundial;

/** The shadow of the gnomon's point (the style's tip, or the nodus) at n instants: where the ray
 * from the Sun's topocentric place through it meets the plane, x_mm[i] along the plane's
 * horizontal to the right of whoever faces the dial and y_mm[i] up its line of greatest slope
 * (toward the north on a horizontal dial), from the gnomon's foot; lit[i] is 1 while the Sun is
 * above the horizon and in front of the face, else 0 with x and y NaN. With pressure_hpa and
 * temperature_c both within orvanel_refraction's ranges, the Sun's altitude is refracted at
 * that weather; both NaN: not refracted. A dial the Sun never lights at the site, or a polar
 * style within a degree of its plane, is refused with ORVANEL_ERROR_ARGUMENT, as are weather
 * figures out of range; every input is checked before anything is written. */
ORVANEL_API int orvanel_sundial_shadow(const orvanel_site* site, const orvanel_sundial* dial,
                                       const double* unix_utc, size_t n, double tt_minus_utc,
                                       double pressure_hpa, double temperature_c, double* x_mm,
                                       double* y_mm, int* lit);

#ifdef __cplusplus
}
#endif

#endif /* ORVANEL_ORVANEL_H */
