/** @file orvanel_ranges.h
 * The ranges of Orvanel's inputs, for C and C++ alike: the C library checks against them, and
 * orvanel-cli's options, help and manual page, the Python module and the windows all derive from
 * them. Each range is defined here and nowhere else. Installed beside orvanel.h, which includes
 * it. */
#ifndef ORVANEL_ORVANEL_RANGES_H
#define ORVANEL_ORVANEL_RANGES_H

/* ---- A site, a time, the atmosphere ---- */

#define ORVANEL_LONGITUDE_MAX_DEG 180.0 /**< longitude, East positive, within +-this */
#define ORVANEL_LATITUDE_MAX_DEG 90.0   /**< geodetic latitude, North positive, within +-this */
#define ORVANEL_HEIGHT_MIN_M (-1000.0)  /**< least height above the reference ellipsoid */
#define ORVANEL_HEIGHT_MAX_M 10000.0    /**< greatest height above the reference ellipsoid */
#define ORVANEL_TT_MIN_S (-100.0)       /**< least dynamical time - UTC a caller gives */
#define ORVANEL_TT_MAX_S 20000.0        /**< greatest dynamical time - UTC a caller gives */
#define ORVANEL_FIRST_YEAR 1980         /**< instants from 00:00:00 UTC on 1 January of this year */
#define ORVANEL_LAST_YEAR 2250          /**< to 23:59:59 UTC on 31 December of this one */
/** Least air pressure for refraction, in millimetres of mercury (133.322387415 Pa each): the
 * domain of the refraction model, where the main window keeps its pressure too. Beyond it the
 * model's refraction runs negative near 0 and means nothing. */
#define ORVANEL_PRESSURE_MIN_MMHG 200.0
#define ORVANEL_PRESSURE_MAX_MMHG 900.0   /**< greatest air pressure for refraction, mmHg */
#define ORVANEL_TEMPERATURE_MIN_C (-90.0) /**< least air temperature for refraction */
#define ORVANEL_TEMPERATURE_MAX_C 60.0    /**< greatest air temperature for refraction */

/* ---- The sky of a site ----
 * What a day's events are measured against beyond the flat horizon at sea level. */

/** An eye above a flat sea or plain, metres: up to as high as a site may be. Rise and set then
 * come when the centre crosses -50' - 1.76' sqrt(H), the horizon lowered by its dip. */
#define ORVANEL_EYE_HEIGHT_MAX_M ORVANEL_HEIGHT_MAX_M
/** The apparent altitudes of a skyline's points, degrees. */
#define ORVANEL_SKYLINE_MIN_DEG (-2.0)
#define ORVANEL_SKYLINE_MAX_DEG 90.0 /**< the highest altitude of a skyline's point */
/** A caller's own threshold: an altitude of the centre within +-this, degrees. */
#define ORVANEL_THRESHOLD_MAX_DEG 90.0
#define ORVANEL_MAX_THRESHOLDS 16 /**< own thresholds in one sky */
#define ORVANEL_MAX_SKY_EVENTS 96 /**< events a day of orvanel_sky_day holds */
#define ORVANEL_OWN_THRESHOLD 4   /**< an event's threshold for own threshold i: this + i */

/* ---- The Sun on a surface ----
 * Angles in degrees. */

#define ORVANEL_SURFACE_TILT_MAX_DEG 180.0 /**< a plane's tilt: 0 (facing up) to this (down) */
#define ORVANEL_ZENITH_MAX_DEG 180.0       /**< a zenith distance given: 0 to this */
#define ORVANEL_AXIS_TILT_MAX_DEG 90.0     /**< a tracker axis' tilt: 0 to this */
#define ORVANEL_ROTATION_MAX_DEG 180.0     /**< a tracker's greatest rotation: 0 to this */
#define ORVANEL_GCR_MIN 0.01               /**< the least ground coverage ratio */
#define ORVANEL_GCR_MAX 1.0                /**< the greatest: rows edge to edge */
#define ORVANEL_CROSS_SLOPE_MAX_DEG 45.0   /**< the ground's slope across the rows, +-this */

/* ---- A sundial ----
 * Lengths in millimetres. */

#define ORVANEL_GNOMON_MIN_MM 1.0         /**< the least style length or nodus distance */
#define ORVANEL_GNOMON_MAX_MM 100000.0    /**< the greatest: 100 m */
#define ORVANEL_DIAL_SIZE_MIN_MM 10.0     /**< the least width or height of the drawn dial */
#define ORVANEL_DIAL_SIZE_MAX_MM 100000.0 /**< the greatest */

#endif
