#include "tools/svg_map.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <filesystem>
#include <utility>
#include <vector>
#include <string_view>

#include "encounter/fight_aftermath.h"
#include "encounter/tick_director.h"
#include "tools/scenario.h"

namespace svg {

namespace {

// Layout, in pixels.
constexpr double pageWidth = 1200.0;
constexpr double margin = 24.0;
constexpr double titleHeight = 56.0;
constexpr double mapWidth = 900.0;
constexpr double legendLeft = margin + mapWidth + 24.0;
constexpr double insetSize = 264.0;
constexpr double insetGap = 20.0;
constexpr std::size_t insetsPerRow = 4;
constexpr std::size_t maxInsets = 12;
constexpr double closeUpSize = 96.0;
// World, in metres.
constexpr double mapPadding = 200.0;
constexpr double insetHalfWidth = 200.0;  // shows the 150 m cull circle whole
constexpr double closeUpHalfWidth = 10.0;  // the formation spans 8 m
// The plug-in's own distances, drawn around each hideout the map shows close up.
constexpr double triggerRadius = triggerDistance;
constexpr double farCullRadius = farCullDistance;
constexpr double deadCullRadius = deadCullDistance;

constexpr std::string_view playerColour = "#1f4e9c";
constexpr std::string_view deathColour = "#c0161b";
constexpr std::string_view removedColour = "#555555";

std::string number(double value) {
    std::array<char, 32> text{};
    auto [end, error] = std::to_chars(text.data(), text.data() + text.size(), value,
                                      std::chars_format::fixed, 1);
    return error == std::errc{} ? std::string(text.data(), end) : "0";
}

std::string escaped(std::string_view text) {
    std::string out;
    for (char c : text) {
        switch (c) {
            case '&': out += "&amp;"; break;
            case '<': out += "&lt;"; break;
            case '>': out += "&gt;"; break;
            case '"': out += "&quot;"; break;
            default: out += c;
        }
    }
    return out;
}

// World metres to page pixels: x to the right, y (north) up.
struct View {
    double left, top;        // page position of the world point (minX, maxY)
    double minX, maxY;
    double scale;            // pixels per metre
    double px(double x) const { return left + (x - minX) * scale; }
    double py(double y) const { return top + (maxY - y) * scale; }
};

std::string circle(double x, double y, double r, std::string_view attributes) {
    return "<circle cx=\"" + number(x) + "\" cy=\"" + number(y) + "\" r=\"" + number(r) + "\" " +
           std::string(attributes) + "/>\n";
}

std::string cross(double x, double y, double size, std::string_view colour) {
    const std::string path = "M" + number(x - size) + " " + number(y - size) + "L" + number(x + size) +
                             " " + number(y + size) + "M" + number(x - size) + " " + number(y + size) +
                             "L" + number(x + size) + " " + number(y - size);
    return "<path d=\"" + path + "\" stroke=\"" + std::string(colour) +
           "\" stroke-width=\"2.5\" stroke-linecap=\"round\"/>\n";
}

std::string square(double x, double y, double size, std::string_view colour) {
    return "<rect x=\"" + number(x - size) + "\" y=\"" + number(y - size) + "\" width=\"" +
           number(2 * size) + "\" height=\"" + number(2 * size) + "\" fill=\"none\" stroke=\"" +
           std::string(colour) + "\" stroke-width=\"1.5\"/>\n";
}

std::string text(double x, double y, std::string_view content, std::string_view attributes = "") {
    return "<text x=\"" + number(x) + "\" y=\"" + number(y) + "\" " + std::string(attributes) + ">" +
           escaped(content) + "</text>\n";
}

std::string playerPath(const chronicle::Chronicle& chronicle, const View& view, double dot) {
    std::string out;
    if (chronicle.playerPath.size() > 1) {
        std::string points;
        for (const chronicle::PlayerStop& stop : chronicle.playerPath) {
            points += number(view.px(stop.position.x)) + "," + number(view.py(stop.position.y)) + " ";
        }
        out += "<polyline points=\"" + points + "\" fill=\"none\" stroke=\"" + std::string(playerColour) +
               "\" stroke-width=\"1.5\" stroke-dasharray=\"5 3\" opacity=\"0.8\"/>\n";
    }
    for (const chronicle::PlayerStop& stop : chronicle.playerPath) {
        const double x = view.px(stop.position.x);
        const double y = view.py(stop.position.y);
        out += stop.dead ? cross(x, y, dot * 1.6, "#000000")
                         : circle(x, y, dot, "fill=\"" + std::string(playerColour) + "\" stroke=\"white\"");
    }
    return out;
}

std::string overviewMap(const chronicle::Chronicle& chronicle, const View& view, double height) {
    std::string out = "<rect x=\"" + number(margin) + "\" y=\"" + number(titleHeight) + "\" width=\"" +
                      number(mapWidth) + "\" height=\"" + number(height) +
                      "\" fill=\"#efe6d2\" stroke=\"#b9a77f\"/>\n";
    for (const GangProfile& profile : gangProfiles) {
        const std::string fill = "fill=\"" + std::string(profile.mapColour) + "\" stroke=\"white\"";
        for (const Vector3& point : profile.hideouts) out += circle(view.px(point.x), view.py(point.y), 4.5, fill);
    }
    out += playerPath(chronicle, view, 3.5);
    // One ring per place, labelled with every squad that spawned there.
    std::vector<std::pair<Vector3, std::string>> places;
    for (const chronicle::Squad& squad : chronicle.squads) {
        auto same = std::find_if(places.begin(), places.end(), [&](const auto& place) {
            return place.first.x == squad.hideout.x && place.first.y == squad.hideout.y;
        });
        if (same == places.end()) {
            places.emplace_back(squad.hideout, std::to_string(squad.number));
        } else {
            same->second += "," + std::to_string(squad.number);
        }
    }
    for (const auto& [point, label] : places) {
        const double x = view.px(point.x);
        const double y = view.py(point.y);
        out += circle(x, y, 10.0, "fill=\"none\" stroke=\"#000000\" stroke-width=\"2\"");
        out += text(x + 12.0, y - 8.0, label, "font-size=\"13\" font-weight=\"bold\" fill=\"#000000\"");
    }
    return out;
}

std::string legend(double top) {
    std::string out = text(legendLeft, top, "Hideouts", "font-size=\"15\" font-weight=\"bold\"");
    double y = top + 22.0;
    for (const GangProfile& profile : gangProfiles) {
        const std::size_t points = profile.hideouts.size();
        out += circle(legendLeft + 6.0, y - 4.0, 5.5, "fill=\"" + std::string(profile.mapColour) + "\" stroke=\"white\"");
        out += text(legendLeft + 18.0, y, std::string(profile.displayName) + " (" + std::to_string(points) + ")",
                    "font-size=\"13\"");
        y += 20.0;
    }
    y += 12.0;
    out += text(legendLeft, y, "Marks", "font-size=\"15\" font-weight=\"bold\"");
    y += 22.0;
    out += circle(legendLeft + 6.0, y - 4.0, 8.0, "fill=\"none\" stroke=\"#000000\" stroke-width=\"2\"");
    out += text(legendLeft + 18.0, y, "squad spawned (number)", "font-size=\"13\"");
    y += 20.0;
    out += circle(legendLeft + 6.0, y - 4.0, 3.5, "fill=\"" + std::string(playerColour) + "\" stroke=\"white\"");
    out += text(legendLeft + 18.0, y, "player (dashed: path)", "font-size=\"13\"");
    y += 20.0;
    out += cross(legendLeft + 6.0, y - 4.0, 5.0, "#000000");
    out += text(legendLeft + 18.0, y, "player died", "font-size=\"13\"");
    y += 20.0;
    out += cross(legendLeft + 6.0, y - 4.0, 4.0, deathColour);
    out += text(legendLeft + 18.0, y, "member died", "font-size=\"13\"");
    y += 20.0;
    out += square(legendLeft + 6.0, y - 4.0, 5.0, removedColour);
    out += text(legendLeft + 18.0, y, "member removed by the plug-in", "font-size=\"13\"");
    y += 20.0;
    out += circle(legendLeft + 6.0, y - 4.0, 5.0, "fill=\"none\" stroke=\"" + std::string(removedColour) +
                                                      "\" stroke-dasharray=\"2 2\"");
    out += text(legendLeft + 18.0, y, "member removed by the game", "font-size=\"13\"");
    y += 28.0;
    out += text(legendLeft, y, "Close-ups: 50 m trigger,", "font-size=\"12\" fill=\"#555\"");
    out += text(legendLeft, y + 16.0, "100 m dead cull, 150 m cull", "font-size=\"12\" fill=\"#555\"");
    return out;
}

// The squad's formation, 20 m across: where each member stood and what became of it.
std::string formationCloseUp(const chronicle::Chronicle& chronicle, const chronicle::Squad& squad,
                             double left, double top, const std::string& colour) {
    const double scale = closeUpSize / (2.0 * closeUpHalfWidth);
    const View view{left, top, squad.hideout.x - closeUpHalfWidth, squad.hideout.y + closeUpHalfWidth, scale};
    std::string out = "<rect x=\"" + number(left) + "\" y=\"" + number(top) + "\" width=\"" +
                      number(closeUpSize) + "\" height=\"" + number(closeUpSize) +
                      "\" fill=\"#fffdf6\" stroke=\"#b9a77f\"/>\n";
    out += circle(view.px(squad.hideout.x), view.py(squad.hideout.y), 2.0, "fill=\"#8a7a55\"");
    for (const Vector3& position : squad.positions) {
        out += circle(view.px(position.x), view.py(position.y), 4.0, "fill=\"" + colour + "\"");
    }
    for (const chronicle::PedMark& mark : chronicle.marks) {
        if (std::find(squad.members.begin(), squad.members.end(), mark.ped) == squad.members.end()) continue;
        const double x = view.px(mark.position.x);
        const double y = view.py(mark.position.y);
        switch (mark.kind) {
            case chronicle::MarkKind::died: out += cross(x, y, 3.5, deathColour); break;
            case chronicle::MarkKind::deleted: out += square(x, y, 5.5, removedColour); break;
            case chronicle::MarkKind::aliveAtEnd: break;
            case chronicle::MarkKind::vanished:
                out += circle(x, y, 8.0, "fill=\"none\" stroke=\"" + std::string(removedColour) +
                                             "\" stroke-dasharray=\"2 2\"");
                break;
        }
    }
    out += text(left + 4.0, top + closeUpSize - 4.0, "20 m", "font-size=\"9\" fill=\"#555\"");
    return out;
}

std::string inset(const chronicle::Chronicle& chronicle, const chronicle::Squad& squad, double left,
                  double top) {
    const double scale = insetSize / (2.0 * insetHalfWidth);
    const View view{left, top, squad.hideout.x - insetHalfWidth, squad.hideout.y + insetHalfWidth, scale};
    const std::string clip = "inset" + std::to_string(squad.number);
    std::string out = "<clipPath id=\"" + clip + "\"><rect x=\"" + number(left) + "\" y=\"" + number(top) +
                      "\" width=\"" + number(insetSize) + "\" height=\"" + number(insetSize) +
                      "\"/></clipPath>\n";
    out += "<rect x=\"" + number(left) + "\" y=\"" + number(top) + "\" width=\"" + number(insetSize) +
           "\" height=\"" + number(insetSize) + "\" fill=\"#efe6d2\" stroke=\"#b9a77f\"/>\n";
    out += "<g clip-path=\"url(#" + clip + ")\">\n";
    const double cx = view.px(squad.hideout.x);
    const double cy = view.py(squad.hideout.y);
    out += circle(cx, cy, triggerRadius * scale, "fill=\"none\" stroke=\"#8a7a55\" stroke-dasharray=\"2 3\"");
    out += circle(cx, cy, deadCullRadius * scale, "fill=\"none\" stroke=\"#8a7a55\" stroke-dasharray=\"1 5\"");
    out += circle(cx, cy, farCullRadius * scale, "fill=\"none\" stroke=\"#8a7a55\" stroke-dasharray=\"7 4\"");
    const std::string colour(squad.gang ? profileOf(*squad.gang).mapColour : "#444444");
    out += circle(cx, cy, 5.0, "fill=\"" + colour + "\" stroke=\"white\"");
    for (const Vector3& position : squad.positions) {
        out += circle(view.px(position.x), view.py(position.y), 2.5, "fill=\"" + colour + "\"");
    }
    out += playerPath(chronicle, view, 4.0);
    out += "</g>\n";
    out += formationCloseUp(chronicle, squad, left + insetSize - closeUpSize - 6.0, top + 6.0, colour);
    std::string clock = std::to_string(100 + squad.spawned.hours).substr(1) + ":" +
                        std::to_string(100 + squad.spawned.minutes).substr(1);
    std::string place = squad.gang ? std::string(scenario::gangName(*squad.gang)) + " " +
                                         std::to_string(squad.point)
                                   : "no hideout";
    out += text(left, top + insetSize + 16.0,
                "squad " + std::to_string(squad.number) + ": " + place + ", day " +
                    std::to_string(squad.spawned.day) + " " + clock,
                "font-size=\"12\" font-weight=\"bold\"");
    out += text(left, top + insetSize + 31.0, squad.model, "font-size=\"11\" fill=\"#555\"");
    return out;
}

View overviewView(const chronicle::Chronicle& chronicle, double& height) {
    double minX = 1e9, maxX = -1e9, minY = 1e9, maxY = -1e9;
    auto include = [&](double x, double y) {
        minX = std::min(minX, x);
        maxX = std::max(maxX, x);
        minY = std::min(minY, y);
        maxY = std::max(maxY, y);
    };
    for (const GangProfile& profile : gangProfiles) {
        for (const Vector3& point : profile.hideouts) include(point.x, point.y);
    }
    for (const chronicle::PlayerStop& stop : chronicle.playerPath) include(stop.position.x, stop.position.y);
    minX -= mapPadding;
    maxX += mapPadding;
    minY -= mapPadding;
    maxY += mapPadding;
    const double scale = mapWidth / (maxX - minX);
    height = (maxY - minY) * scale;
    return View{margin, titleHeight, minX, maxY, scale};
}

}  // namespace

std::string renderMap(const chronicle::Chronicle& chronicle, const MapTitle& title) {
    double mapHeight = 0.0;
    const View view = overviewView(chronicle, mapHeight);
    const std::size_t insets = std::min(chronicle.squads.size(), maxInsets);
    const std::size_t rows = (insets + insetsPerRow - 1) / insetsPerRow;
    const double insetsTop = titleHeight + mapHeight + 40.0;
    const double pageHeight = insetsTop + static_cast<double>(rows) * (insetSize + 60.0) + margin;

    std::string out = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n";
    out += "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"" + number(pageWidth) + "\" height=\"" +
           number(pageHeight) + "\" viewBox=\"0 0 " + number(pageWidth) + " " + number(pageHeight) +
           "\" font-family=\"Helvetica, Arial, sans-serif\">\n";
    const std::string scenarioName = std::filesystem::path(title.scenario).filename().string();
    const std::string heading = "Gang Hideouts, build " + title.build + ", scenario " + scenarioName;
    out += "<title>" + escaped(heading) + "</title>\n";
    out += "<rect width=\"100%\" height=\"100%\" fill=\"#faf6ec\"/>\n";
    out += text(margin, 28.0, heading, "font-size=\"20\" font-weight=\"bold\"");
    const std::string summary = title.scenario + ", seed " + std::to_string(title.seed) + ": " +
                                std::to_string(chronicle.squads.size()) + " squads, " +
                                std::to_string(chronicle.deletedCount) + " members removed by the plug-in";
    out += text(margin, 46.0, summary, "font-size=\"12\" fill=\"#555\"");
    out += overviewMap(chronicle, view, mapHeight);
    out += legend(titleHeight + 16.0);
    if (insets > 0) {
        out += text(margin, insetsTop - 12.0, "Encounters, 400 m across", "font-size=\"15\" font-weight=\"bold\"");
    }
    for (std::size_t i = 0; i < insets; ++i) {
        const double left = margin + static_cast<double>(i % insetsPerRow) * (insetSize + insetGap);
        const double top = insetsTop + static_cast<double>(i / insetsPerRow) * (insetSize + 60.0);
        out += inset(chronicle, chronicle.squads[i], left, top);
    }
    out += "</svg>\n";
    return out;
}

}  // namespace svg
