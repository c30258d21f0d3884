// What `orvanel-cli cadran` writes: each line of the dial as CSV rows of points, a JSON object,
// or an SVG picture at true scale (one unit of its view box a millimetre of the dial).
#include <cmath>
#include <string>

#include "Lignes.h"

namespace Cli {

namespace {

const char* NomSorte(PosSoleil::SorteLigne s) {
    return Contrat::NomSorteLigne(s).cli;
}

// A CSV field: quoted when it holds a comma or a quote.
std::string Champ(const std::string& texte) {
    if (texte.find_first_of(",\"") == std::string::npos) return texte;
    std::string cite = "\"";
    for (const char c : texte) cite += c == '"' ? std::string("\"\"") : std::string(1, c);
    return cite + "\"";
}

std::string Echappe(const std::string& texte) {
    std::string x;
    for (const char c : texte) {
        if (c == '&')
            x += "&amp;";
        else if (c == '<')
            x += "&lt;";
        else if (c == '>')
            x += "&gt;";
        else if (c == '"')
            x += "&quot;";
        else
            x += c;
    }
    return x;
}

}  // namespace

void EcritCadran(std::ostream& sortie, const Reglages& r, const PosSoleil::Cadran& c,
                 const PosSoleil::Trace& trace, const std::vector<PosSoleil::LigneCadran>& lignes,
                 bool svg) {
    const PosSoleil::GeometrieCadran g = PosSoleil::Geometrie(c, r.site.Latitude);
    const bool nodus = c.gnomon == PosSoleil::Gnomon::Nodus;
    Json e;
    e["programme"] = "orvanel-cli " + r.version;
    e["commande"] = "cadran";
    e["site"] = {{"longitude_deg", r.site.Longitude},
                 {"latitude_deg", r.site.Latitude},
                 {"hauteur_m", r.site.Altitude}};
    e["mur"] = {{"azimut_nord_deg", c.azimutMur},
                {"declinaison_gnomonique_deg", c.azimutMur - 180},
                {"inclinaison_deg", c.inclinaison}};
    e["gnomon"] = {{"type", nodus ? "nodus" : "style_polaire"}, {"longueur_mm", c.longueur}};
    const auto nombre = [](double x) { return std::isnan(x) ? Json(nullptr) : Json(x); };
    e["style"] = {{"hauteur_deg", g.hauteurStyle},
                  {"sous_style_deg", nombre(g.sousStyle)},
                  {"distance_sous_style_deg", nombre(g.distanceSousStyle)},
                  {"centre_mm", {nombre(g.centreX), nombre(g.centreY)}}};
    e["taille_mm"] = {trace.largeur, trace.hauteur};
    e["centre_zone_mm"] = {trace.centreX, trace.centreY};
    e["annee"] = trace.annee;
    e["meridien_deg"] = trace.meridien;
    e["tt_moins_utc_s"] = trace.TEmoinsTU;
    if (svg) {
        const double W = trace.largeur, H = trace.hauteur;
        const auto X = [&](double x) { return Nombre(x - trace.centreX + W / 2); };
        const auto Y = [&](double y) { return Nombre(H / 2 - (y - trace.centreY)); };
        sortie << "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
               << "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"" << Nombre(W)
               << "mm\" height=\"" << Nombre(H) << "mm\" viewBox=\"0 0 " << Nombre(W) << ' '
               << Nombre(H) << "\">\n<desc>" << Echappe(e.dump()) << "</desc>\n"
               << "<rect x=\"0\" y=\"0\" width=\"" << Nombre(W) << "\" height=\"" << Nombre(H)
               << "\" fill=\"white\" stroke=\"black\" stroke-width=\"0.5\"/>\n";
        const double trait = std::max(W, H) / 800;
        for (const PosSoleil::LigneCadran& l : lignes) {
            const bool date = l.sorte == PosSoleil::SorteLigne::Date;
            sortie << "<polyline fill=\"none\" stroke=\"" << (date ? "#1f5fa8" : "black")
                   << "\" stroke-width=\""
                   << Nombre(trait * (l.sorte == PosSoleil::SorteLigne::Heure ? 2 : 1))
                   << "\" data-type=\"" << NomSorte(l.sorte) << "\" points=\"";
            for (const auto& [x, y] : l.points) sortie << X(x) << ',' << Y(y) << ' ';
            sortie << "\"><title>" << Echappe(l.etiquette) << "</title></polyline>\n";
            const auto& [x0, y0] = l.points.front();
            sortie << "<text x=\"" << X(x0) << "\" y=\"" << Y(y0) << "\" font-size=\""
                   << Nombre(trait * 12) << "\" font-family=\"DejaVu Sans\">"
                   << Echappe(l.etiquette) << "</text>\n";
        }
        // The gnomon's foot, and the substyle from the centre.
        sortie << "<circle cx=\"" << X(0) << "\" cy=\"" << Y(0) << "\" r=\"" << Nombre(trait * 3)
               << "\" fill=\"black\"/>\n</svg>\n";
        return;
    }
    if (r.format == Format::Json) {
        Json o;
        o["entete"] = e;
        Json tableau = Json::array();
        for (const PosSoleil::LigneCadran& l : lignes) {
            Json points = Json::array();
            for (const auto& [x, y] : l.points) points.push_back({x, y});
            tableau.push_back(
                {{"type", NomSorte(l.sorte)}, {"etiquette", l.etiquette}, {"points", points}});
        }
        o["lignes"] = tableau;
        sortie << o.dump() << '\n';
        return;
    }
    sortie << "type,etiquette,x_mm,y_mm\n";
    for (const PosSoleil::LigneCadran& l : lignes) {
        const std::string debut = std::string(NomSorte(l.sorte)) + ',' + Champ(l.etiquette) + ',';
        for (const auto& [x, y] : l.points)
            sortie << debut << Nombre(x) << ',' << Nombre(y) << '\n';
    }
}

}  // namespace Cli
