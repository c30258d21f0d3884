// What orvanel-cli writes: a position, a table, a day's events, in text, CSV or JSON. Every
// quantity's CSV column and JSON key ends with its unit; times are UTC and, with a zone, legal
// time of the same rounded instant.
#include <algorithm>
#include <bit>
#include <cstdint>
#include <cmath>
#include <cstdio>
#include <iterator>
#include <string_view>
#include <vector>

#include "Lignes.h"
#include "Tableau.h"

namespace Cli {

namespace {

const char* AzimutCle(bool sud) {
    return sud ? "azimut_sud_deg" : "azimut_nord_deg";
}

// The azimuth as the outputs give it: from north in [0, 360), or from south.
double Azimut(double azimut, bool sud) {
    return sud ? Tableau::AzimutDepuis(azimut, true) : Contrat::AzimutNord(azimut);
}

std::string RegleTt() {
    return "table des secondes intercalaires (TAI - UTC + 32,184 s) de 1972 à " +
           Contrat::TexteFinTable() +
           ", au-delà et avant le modèle de ΔT d'Espenak et Meeus (2006), raccordé sans saut";
}

}  // namespace

double HauteurRefractee(const Reglages& r, double hauteur) {
    return hauteur +
           PosSoleil::Refraction(hauteur, Contrat::CmHgDeMmHg(r.pressionMmHg), r.temperature);
}

SurSurfaces CalculeSurfaces(const Reglages& r, const PosSoleil::Position& p) {
    SurSurfaces s{};
    const double z = 90 - HauteurRefractee(r, p.Hauteur), A = Contrat::AzimutNord(p.Azimut);
    if (r.energie) {
        s.masse = PosSoleil::MasseAirRelative(z);
        s.masseAbsolue = PosSoleil::MasseAirAbsolue(s.masse, Contrat::CmHgDeMmHg(r.pressionMmHg));
        s.irradiance = PosSoleil::IrradianceHorsAtmosphere(p.RayonVecteur);
    }
    if (r.plan) {
        s.projection = PosSoleil::ProjectionIncidence(r.plan->first, r.plan->second, z, A);
        s.incidence = PosSoleil::Incidence(r.plan->first, r.plan->second, z, A);
    }
    if (r.suiveur) s.suivi = PosSoleil::Suivi(*r.suiveur, z, A);
    return s;
}

ColonnesSurfaces Surfaces(const Reglages& r, const SurSurfaces& s) {
    ColonnesSurfaces c;
    if (r.energie) {
        c.Ajoute("masse_air", s.masse);
        c.Ajoute("masse_air_absolue", s.masseAbsolue);
        c.Ajoute("irradiance_hors_atmosphere_w_m2", s.irradiance);
    }
    if (r.plan) {
        c.Ajoute("plan_projection_incidence", s.projection);
        c.Ajoute("plan_incidence_deg", s.incidence);
    }
    if (r.suiveur) {
        c.Ajoute("suiveur_rotation_deg", s.suivi.rotation);
        c.Ajoute("suiveur_inclinaison_deg", s.suivi.inclinaison);
        c.Ajoute("suiveur_azimut_nord_deg", s.suivi.azimut);
        c.Ajoute("suiveur_incidence_deg", s.suivi.incidence);
    }
    return c;
}

bool AvecSurfaces(const Reglages& r) {
    return r.energie || r.plan || r.suiveur;
}

Json EnTeteJson(const Reglages& r, const char* commande, bool siteParLigne,
                std::optional<double> instantUnique) {
    Json e;
    e["programme"] = "orvanel-cli " + r.version;
    e["commande"] = commande;
    if (siteParLigne) {
        e["site"] = "par_ligne";
    } else {
        e["site"] = {{"longitude_deg", r.site.Longitude},
                     {"latitude_deg", r.site.Latitude},
                     {"hauteur_m", r.site.Altitude}};
    }
    Json tt;
    tt["reglage"] = r.ttImpose ? NomSource(r.ttImpose->source) : "defaut";
    if (r.ttImpose) {
        tt["valeur_s"] = r.ttImpose->secondes;
        tt["source"] = NomSource(r.ttImpose->source);
    } else if (instantUnique) {
        const ValeurTEmoinsTU v = TEmoinsTUParDefaut(*instantUnique);
        tt["valeur_s"] = v.secondes;
        tt["source"] = NomSource(v.source);
    } else {
        tt["valeur_s"] = nullptr;  // given on each row
        tt["source"] = "par_ligne";
    }
    tt["regle"] = r.ttImpose ? "imposé par l'option" : RegleTt();
    e["tt_moins_utc"] = tt;
    e["ut1_moins_utc_s"] = r.dut1;
    e["origine_azimut"] = r.sud ? "sud" : "nord";
    e["refraction"] = {{"active", r.refraction},
                       {"temperature_c", r.temperature},
                       {"pression_mmhg", r.pressionMmHg}};
    e["fuseau"] = r.fuseau.empty() ? Json(nullptr) : Json(r.fuseau);
    if (r.plan)
        e["plan"] = {{"inclinaison_deg", r.plan->first}, {"azimut_nord_deg", r.plan->second}};
    if (r.suiveur)
        e["suiveur"] = {{"axe_inclinaison_deg", r.suiveur->axeInclinaison},
                        {"axe_azimut_nord_deg", r.suiveur->axeAzimut},
                        {"rotation_max_deg", r.suiveur->angleMax},
                        {"taux_couverture", r.suiveur->gcr},
                        {"pente_transverse_deg", r.suiveur->penteTransverse},
                        {"retour", r.suiveur->retour}};
    if (std::string_view(commande) == "jour" || std::string_view(commande) == "annee") {
        // What the rise and set are measured against, and the caller's own altitudes.
        Json ciel;
        ciel["hauteur_oeil_m"] = r.ciel.hauteurOeil;
        ciel["lever_coucher_deg"] = r.ciel.horizon.empty()
                                        ? Json(PosSoleil::HauteurLeverCoucher(r.ciel.hauteurOeil))
                                        : Json("horizon");
        ciel["hauteurs_deg"] = r.ciel.hauteurs;
        if (r.ciel.horizon.empty()) {
            ciel["horizon"] = nullptr;
        } else {
            Json points = Json::array();
            for (const PosSoleil::PointHorizon& p : r.ciel.horizon)
                points.push_back({{"azimut_nord_deg", p.azimut}, {"hauteur_deg", p.hauteur}});
            ciel["horizon"] = {{"fichier", r.horizon}, {"points", points}};
        }
        e["ciel"] = ciel;
    }
    return e;
}

LignesPosition::LignesPosition(const Reglages& r, bool siteParLigne)
    : r_(r), siteParLigne_(siteParLigne) {
    if (!r.fuseau.empty()) legal_.emplace(r.fuseau);
}

void LignesPosition::Remplit(Rangee& l, double t, const PosSoleil::Site& site,
                             const ValeurTEmoinsTU& tt, const PosSoleil::Position& p) {
    l.n = 0;
    const auto texte = [&l](const char* cle, std::string_view v, std::string_view csv = {}) {
        l.c[l.n++] = {cle, Colonne::EnTexte, 0, v, csv.empty() ? v : csv, 0};
    };
    const auto nombre = [&l](const char* cle, double v, std::uint8_t repete = 0) {
        l.c[l.n++] = {cle, Colonne::EnNombre, repete, {}, {}, v};
    };
    // The texts of the instant, kept while the rows keep it (the sites of a map).
    if (std::bit_cast<std::uint64_t>(t) != std::bit_cast<std::uint64_t>(l.instant)) {
        l.instant = t;
        l.date.assign(l.tampon, EcritIso(l.tampon, t));
        if (legal_) {
            l.legal = legal_->Texte(t);
            l.abreviation = legal_->Abreviation();
            l.abreviationCsv = legal_->AbreviationTexte();
        }
    }
    texte("date_utc", l.date);
    if (legal_) {
        texte("date_legale", l.legal);
        texte("abreviation", l.abreviation, l.abreviationCsv);
    }
    nombre("site_longitude_deg", site.Longitude, 1);
    nombre("site_latitude_deg", site.Latitude, 1);
    nombre("site_hauteur_m", site.Altitude, 1);
    nombre("tt_moins_utc_s", tt.secondes, 2);
    texte("source_tt_utc", NomSource(tt.source));
    nombre("ut1_moins_utc_s", r_.dut1, 3);
    nombre("ascension_droite_deg", PosSoleil::Modulo360(p.AscensionDroite), 4);
    nombre("declinaison_deg", p.Declinaison, 4);
    nombre("distance_ua", p.RayonVecteur, 4);
    nombre("equation_temps_min", p.EquationTemps * 60, 4);
    nombre(AzimutCle(r_.sud), Azimut(p.Azimut, r_.sud));
    nombre("hauteur_deg", p.Hauteur);
    nombre("distance_zenithale_deg", 90 - p.Hauteur);
    if (r_.refraction) {
        nombre("hauteur_refractee_deg", HauteurRefractee(r_, p.Hauteur));
        nombre("temperature_c", r_.temperature);
        nombre("pression_mmhg", r_.pressionMmHg);
    }
    if (AvecSurfaces(r_)) {
        // NaN (the Sun below the horizon): an empty CSV field, a JSON null.
        const ColonnesSurfaces c = Surfaces(r_, CalculeSurfaces(r_, p));
        for (std::size_t k = 0; k < c.n; ++k) nombre(c.cles[k], c.valeurs[k]);
    }
}

std::string LignesPosition::EnTeteCsv() {
    Rangee l;
    Remplit(l, 0, {}, {}, {});
    std::string texte;
    for (std::size_t k = 0; k < l.n; ++k) {
        if (k) texte += ',';
        texte += l.c[k].cle;
    }
    return texte + "\n";
}

Json LignesPosition::Objet(double t, const PosSoleil::Site& site, const ValeurTEmoinsTU& tt,
                           const PosSoleil::Position& p) {
    Rangee l;
    Remplit(l, t, site, tt, p);
    Json o;
    for (std::size_t k = 0; k < l.n; ++k) {
        const Colonne& c = l.c[k];
        if (c.sorte == Colonne::EnTexte)
            o[c.cle] = std::string(c.texte);
        else
            o[c.cle] = std::isnan(c.valeur) ? Json(nullptr) : Json(c.valeur);
    }
    return o;
}

void LignesPosition::Ajoute(std::string& texte, double t, const PosSoleil::Site& site,
                            long long i) {
    const ValeurTEmoinsTU tt = TEmoinsTUA(r_, t);
    Ajoute(texte, t, site, tt, Calcule(r_, site, t, tt.secondes), i);
}

void LignesPosition::Ajoute(std::string& texte, double t, const PosSoleil::Site& site,
                            const ValeurTEmoinsTU& tt, const PosSoleil::Position& p, long long i) {
    switch (r_.format) {
        case Format::Csv: {
            // The row in one buffer, appended at once: its numbers of at most 32 characters,
            // its texts of at most 64.
            Remplit(rangee_, t, site, tt, p);
            const Rangee& l = rangee_;
            char ligne[2048];
            char* q = ligne;
            for (std::size_t k = 0; k < l.n; ++k) {
                const Colonne& c = l.c[k];
                if (k) *q++ = ',';
                if (c.sorte == Colonne::EnTexte) {
                    q = std::copy_n(c.csv.data(), std::min<std::size_t>(c.csv.size(), 64), q);
                    continue;
                }
                if (!c.repete) {
                    if (!std::isnan(c.valeur)) q = EcritNombre(q, c.valeur);
                    continue;
                }
                // What repeats from row to row (the table's site, dynamical time - UTC within a
                // year, UT1 - UTC) is written once and copied; compared bit for bit, as 0 and -0
                // are written differently.
                std::size_t fin = k;
                while (fin < l.n && l.c[fin].repete == c.repete) ++fin;
                Repete& cache = caches_[c.repete - 1];
                bool memes = cache.longueur > 0;
                for (std::size_t m = k; memes && m < fin; ++m)
                    memes = std::bit_cast<std::uint64_t>(l.c[m].valeur) ==
                            std::bit_cast<std::uint64_t>(cache.valeurs[m - k]);
                if (!memes) {
                    char* d = cache.texte;
                    for (std::size_t m = k; m < fin; ++m) {
                        if (m > k) *d++ = ',';
                        cache.valeurs[m - k] = l.c[m].valeur;
                        d = EcritNombre(d, l.c[m].valeur);
                    }
                    cache.longueur = static_cast<std::size_t>(d - cache.texte);
                }
                q = std::copy_n(cache.texte, cache.longueur, q);
                k = fin - 1;
            }
            *q++ = '\n';
            texte.append(ligne, q);
            return;
        }
        case Format::Json: {
            texte += SeparateurJson(i);
            texte += Objet(t, site, tt, p).dump();
            return;
        }
        case Format::Texte: {
            const double ascensionDroite = PosSoleil::Modulo360(p.AscensionDroite),
                         equationMinutes = p.EquationTemps * 60, azimut = Azimut(p.Azimut, r_.sud),
                         hauteurRefractee = r_.refraction ? HauteurRefractee(r_, p.Hauteur) : 0;
            const std::string& sep = r_.separateur;
            const auto ligne = [&](const char* nom, const std::string& valeur) {
                texte += nom;
                texte += valeur;
                texte += '\n';
            };
            if (i > 0) texte += '\n';
            ligne("Date (UTC)             ", TexteIso(t));
            if (legal_) {
                std::string valeur = legal_->Texte(t);
                ligne("Heure légale           ", valeur + " " + legal_->Abreviation());
            }
            if (siteParLigne_)
                ligne("Lieu                   ",
                      Tableau::LigneSite(site.Longitude, site.Latitude, site.Longitude >= 0,
                                         site.Latitude >= 0, sep, true) +
                          ", " + PosSoleil::TexteFixe(site.Altitude, 1, 18, sep) + " m");
            ligne("TT - UTC (s)           ", PosSoleil::TexteFixe(tt.secondes, 3, 18, sep) + " (" +
                                                 NomSource(tt.source) + ")");
            ligne("Ascension droite       ", Tableau::TexteHMS(ascensionDroite, 2, sep));
            ligne("Déclinaison            ", Tableau::TexteDMS(p.Declinaison, 2, sep));
            ligne("Distance (ua)          ", PosSoleil::TexteFixe(p.RayonVecteur, 5, 7, sep));
            ligne("Équation du temps (mn) ", PosSoleil::TexteFixe(equationMinutes, 2, 18, sep));
            ligne(r_.sud ? "Azimut (sud)           " : "Azimut (nord)          ",
                  Tableau::TexteDMS(azimut, 1, sep));
            ligne("Hauteur                ", Tableau::TexteDMS(p.Hauteur, 1, sep));
            ligne("Distance zénithale     ", Tableau::TexteDMS(90 - p.Hauteur, 1, sep));
            if (r_.refraction)
                ligne("Hauteur réfractée      ", Tableau::TexteDMS(hauteurRefractee, 1, sep));
            if (AvecSurfaces(r_)) {
                const SurSurfaces f = CalculeSurfaces(r_, p);
                const auto nombre = [&](double x, int decimales) {
                    return std::isnan(x) ? std::string("Soleil sous l'horizon")
                                         : PosSoleil::TexteFixe(x, decimales, 18, sep);
                };
                const auto angle = [&](double x) {
                    return std::isnan(x) ? std::string("Soleil sous l'horizon")
                                         : Tableau::TexteDMS(x, 1, sep);
                };
                if (r_.energie) {
                    ligne("Masse d'air            ", nombre(f.masse, 4));
                    ligne("Masse d'air absolue    ", nombre(f.masseAbsolue, 4));
                    ligne("Irradiance hors atm.   ", nombre(f.irradiance, 2) + " W/m²");
                }
                if (r_.plan) ligne("Incidence sur le plan  ", angle(f.incidence));
                if (r_.suiveur) {
                    ligne("Rotation du suiveur    ", angle(f.suivi.rotation));
                    ligne("Inclinaison du suiveur ", angle(f.suivi.inclinaison));
                    ligne("Azimut du suiveur      ", angle(f.suivi.azimut));
                    ligne("Incidence du suiveur   ", angle(f.suivi.incidence));
                }
            }
            return;
        }
    }
}

void EcritPosition(std::ostream& sortie, const Reglages& r, double t) {
    LignesPosition lignes(r, false);
    if (r.format == Format::Json) {
        const ValeurTEmoinsTU tt = TEmoinsTUA(r, t);
        Json o;
        o["entete"] = EnTeteJson(r, "position", false, t);
        o["position"] = lignes.Objet(t, r.site, tt, Calcule(r, r.site, t, tt.secondes));
        sortie << o.dump(2) << '\n';
        return;
    }
    std::string texte;
    if (r.format == Format::Csv) texte = lignes.EnTeteCsv();
    lignes.Ajoute(texte, t, r.site, 0);
    sortie << texte;
}

}  // namespace Cli
