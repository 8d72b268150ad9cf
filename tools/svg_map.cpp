#include "tools/svg_map.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <string_view>
#include <utility>
#include <vector>

#include "encounter/fight_aftermath.h"
#include "encounter/tick_director.h"
#include "tools/scenario.h"
#include "tools/wording.h"

namespace svg {

namespace {

// [SECTION] Layout, styles and small shapes
// Layout, in pixels.
constexpr double pageWidth = 1200.0;
constexpr double margin = 24.0;
constexpr double titleHeight = 56.0;
constexpr double axisRoom = 18.0;  // coordinates along the map's top and left edges
constexpr double mapLeft = margin + axisRoom + 20.0;
constexpr double mapTop = titleHeight + axisRoom;
constexpr double mapWidth = 860.0;
constexpr double legendLeft = mapLeft + mapWidth + 20.0;
constexpr double insetSize = 264.0;
constexpr double closeUpSize = 96.0;
constexpr double closeUpGap = 8.0;
constexpr double cellWidth = insetSize + closeUpGap + closeUpSize;
constexpr double cellGap = 20.0;
constexpr std::size_t insetsPerRow = 3;
constexpr std::size_t maxInsets = 12;
constexpr double cellHeight = insetSize + 60.0;
// World, in metres.
constexpr double mapPadding = 200.0;
constexpr double insetHalfWidth = 200.0;   // shows the 150 m cull circle whole
constexpr double closeUpHalfWidth = 10.0;  // the formation spans 8 m

constexpr std::string_view playerColour = "#1f4e9c";
constexpr std::string_view deathColour = "#c0161b";
constexpr std::string_view removedColour = "#555555";
constexpr std::string_view failedColour = "#c0161b";
constexpr std::string_view ringColour = "#8a7a55";

struct Ring {
    double radius;
    std::string_view dashes;
    std::string_view meaning;
};
constexpr std::array<Ring, 3> rings = {{
    {triggerDistance, "2 3", "a squad spawns when the player is nearer"},
    {deadCullDistance, "1 5", "dead members farther away are cleared"},
    {farCullDistance, "7 4", "members farther away are removed"},
}};

std::string number(double value) {
    std::array<char, 32> text{};
    auto [end, error] =
        std::to_chars(text.data(), text.data() + text.size(), value, std::chars_format::fixed, 1);
    return error == std::errc{} ? std::string(text.data(), end) : "0";
}

std::string escaped(std::string_view text) {
    std::string out;
    for (char c : text) {
        switch (c) {
            case '&':
                out += "&amp;";
                break;
            case '<':
                out += "&lt;";
                break;
            case '>':
                out += "&gt;";
                break;
            case '"':
                out += "&quot;";
                break;
            default:
                out += c;
        }
    }
    return out;
}

// World metres to page pixels: x to the right, y (north) up.
struct View {
    double left, top;  // page position of the world point (minX, maxY)
    double minX, maxY;
    double scale;  // pixels per metre
    double px(double x) const { return left + (x - minX) * scale; }
    double py(double y) const { return top + (maxY - y) * scale; }
};

std::string circle(double x, double y, double r, std::string_view attributes,
                   std::string_view title = {}) {
    const std::string head = "<circle cx=\"" + number(x) + "\" cy=\"" + number(y) + "\" r=\"" +
                             number(r) + "\" " + std::string(attributes);
    if (title.empty()) return head + "/>\n";
    return head + "><title>" + escaped(title) + "</title></circle>\n";
}

std::string line(double x1, double y1, double x2, double y2, std::string_view attributes) {
    return "<line x1=\"" + number(x1) + "\" y1=\"" + number(y1) + "\" x2=\"" + number(x2) +
           "\" y2=\"" + number(y2) + "\" " + std::string(attributes) + "/>\n";
}

std::string cross(double x, double y, double size, std::string_view colour) {
    const std::string path = "M" + number(x - size) + " " + number(y - size) + "L" +
                             number(x + size) + " " + number(y + size) + "M" + number(x - size) +
                             " " + number(y + size) + "L" + number(x + size) + " " +
                             number(y - size);
    return "<path d=\"" + path + "\" stroke=\"" + std::string(colour) +
           "\" stroke-width=\"2.5\" stroke-linecap=\"round\"/>\n";
}

std::string square(double x, double y, double size, std::string_view colour) {
    return "<rect x=\"" + number(x - size) + "\" y=\"" + number(y - size) + "\" width=\"" +
           number(2 * size) + "\" height=\"" + number(2 * size) + "\" fill=\"none\" stroke=\"" +
           std::string(colour) + "\" stroke-width=\"1.5\"/>\n";
}

// A member still alive at the end: a triangle, so that it cannot be taken for a hideout.
std::string triangle(double x, double y, double size, std::string_view colour) {
    return "<path d=\"M" + number(x) + " " + number(y - size) + "L" + number(x + size) + " " +
           number(y + size * 0.8) + "L" + number(x - size) + " " + number(y + size * 0.8) +
           "Z\" fill=\"" + std::string(colour) + "\" stroke=\"#000000\" stroke-width=\"1\"/>\n";
}

// A spawn that failed: a circle struck through.
std::string failedMark(double x, double y, double size) {
    return circle(
               x, y, size,
               "fill=\"white\" stroke=\"" + std::string(failedColour) + "\" stroke-width=\"2\"") +
           line(x - size * 0.7, y + size * 0.7, x + size * 0.7, y - size * 0.7,
                "stroke=\"" + std::string(failedColour) + "\" stroke-width=\"2\"");
}

std::string text(double x, double y, std::string_view content, std::string_view attributes = "") {
    return "<text x=\"" + number(x) + "\" y=\"" + number(y) + "\" " + std::string(attributes) +
           ">" + escaped(content) + "</text>\n";
}

std::string rect(double x, double y, double width, double height, std::string_view attributes) {
    return "<rect x=\"" + number(x) + "\" y=\"" + number(y) + "\" width=\"" + number(width) +
           "\" height=\"" + number(height) + "\" " + std::string(attributes) + "/>\n";
}

std::string pointTitle(const GangProfile& profile, std::size_t index) {
    const Vector3& point = profile.hideouts[index];
    return std::string(scenario::gangName(profile.gang)) + " " + std::to_string(index + 1) + " " +
           chronicle::describePosition(point);
}

// A round length of world (1, 2 or 5 times a power of ten) near the wanted pixel length.
double roundMetres(double scale, double wantedPixels) {
    const double wanted = wantedPixels / scale;
    const double power = std::pow(10.0, std::floor(std::log10(wanted)));
    for (double step : {1.0, 2.0, 5.0, 10.0}) {
        if (step * power >= wanted) return step * power;
    }
    return 10.0 * power;
}

// [SECTION] What a close-up shows: one encounter's span of time
struct Span {
    std::int64_t fromFrame;
    std::int64_t untilFrame;  // exclusive
    bool contains(const chronicle::When& when) const {
        return when.frame >= fromFrame && when.frame < untilFrame;
    }
};

Span spanOf(const chronicle::Chronicle& chronicle, std::size_t squadIndex) {
    const std::int64_t from = chronicle.squads[squadIndex].spawned.frame;
    const std::int64_t until = squadIndex + 1 < chronicle.squads.size()
                                   ? chronicle.squads[squadIndex + 1].spawned.frame
                                   : INT64_MAX;
    return {from, until};
}

// The player's stops within the span, and the one he stood at when it began.
std::vector<chronicle::PlayerStop> stopsIn(const chronicle::Chronicle& chronicle,
                                           const Span& span) {
    std::vector<chronicle::PlayerStop> stops;
    for (const chronicle::PlayerStop& stop : chronicle.playerPath) {
        if (stop.when.frame < span.fromFrame) {
            stops.assign(1, stop);
        } else if (span.contains(stop.when)) {
            stops.push_back(stop);
        }
    }
    return stops;
}

// [SECTION] The player's path
std::string arrowMarker() {
    return "<defs><marker id=\"arrow\" viewBox=\"0 0 10 10\" refX=\"9\" refY=\"5\" "
           "markerWidth=\"7\" "
           "markerHeight=\"7\" orient=\"auto-start-reverse\"><path d=\"M0 0L10 5L0 10Z\" fill=\"" +
           std::string(playerColour) + "\"/></marker></defs>\n";
}

// The path as legs from one stop to the next, each with an arrow and, where asked, its number.
std::string playerPath(const std::vector<chronicle::PlayerStop>& stops, const View& view,
                       double dot, bool numbered) {
    std::string out;
    for (std::size_t i = 1; i < stops.size(); ++i) {
        const double x1 = view.px(stops[i - 1].position.x);
        const double y1 = view.py(stops[i - 1].position.y);
        const double x2 = view.px(stops[i].position.x);
        const double y2 = view.py(stops[i].position.y);
        if (std::hypot(x2 - x1, y2 - y1) < 2.0 * dot) continue;
        out += line(x1, y1, x2, y2,
                    "stroke=\"" + std::string(playerColour) +
                        "\" stroke-width=\"1.5\" opacity=\"0.85\" marker-end=\"url(#arrow)\"");
        if (numbered) {
            out += text((x1 + x2) / 2.0 + 4.0, (y1 + y2) / 2.0 - 4.0, std::to_string(i),
                        "font-size=\"10\" font-style=\"italic\" fill=\"" +
                            std::string(playerColour) + "\"");
        }
    }
    for (const chronicle::PlayerStop& stop : stops) {
        const double x = view.px(stop.position.x);
        const double y = view.py(stop.position.y);
        out += stop.dead ? cross(x, y, dot * 1.6, "#000000")
                         : circle(x, y, dot,
                                  "fill=\"" + std::string(playerColour) + "\" stroke=\"white\"");
    }
    return out;
}

// [SECTION] The overview map
std::string hideouts(const View& view, double radius, double fontSize,
                     const std::function<bool(Vector3)>& shown) {
    std::string out;
    for (const GangProfile& profile : gangProfiles) {
        const std::string fill = "fill=\"" + std::string(profile.mapColour) + "\" stroke=\"white\"";
        for (std::size_t i = 0; i < profile.hideouts.size(); ++i) {
            const Vector3& point = profile.hideouts[i];
            if (!shown(point)) continue;
            const double x = view.px(point.x);
            const double y = view.py(point.y);
            out += circle(x, y, radius, fill, pointTitle(profile, i));
            out += text(x + radius + 1.5, y + fontSize * 0.35, std::to_string(i + 1),
                        "font-size=\"" + number(fontSize) + "\" fill=\"" +
                            std::string(profile.mapColour) + "\"");
        }
    }
    return out;
}

std::string axes(const View& view, double height) {
    const double step = roundMetres(view.scale, 110.0);
    const double minX = view.minX;
    const double maxX = view.minX + mapWidth / view.scale;
    const double minY = view.maxY - height / view.scale;
    std::string out;
    const std::string grid = "stroke=\"#d8cba9\" stroke-width=\"0.6\"";
    for (double x = std::ceil(minX / step) * step; x <= maxX; x += step) {
        out += line(view.px(x), mapTop, view.px(x), mapTop + height, grid);
        out += text(view.px(x), mapTop - 5.0, number(x).substr(0, number(x).size() - 2),
                    "font-size=\"9\" fill=\"#555\" text-anchor=\"middle\"");
    }
    for (double y = std::ceil(minY / step) * step; y <= view.maxY; y += step) {
        out += line(mapLeft, view.py(y), mapLeft + mapWidth, view.py(y), grid);
        out += text(mapLeft - 4.0, view.py(y) + 3.0, number(y).substr(0, number(y).size() - 2),
                    "font-size=\"9\" fill=\"#555\" text-anchor=\"end\"");
    }
    out += text(mapLeft + mapWidth, mapTop - 5.0 - 10.0, "x (m, east)",
                "font-size=\"9\" fill=\"#555\" text-anchor=\"end\"");
    out += text(mapLeft - 4.0, mapTop - 5.0 - 10.0, "y (m, north)",
                "font-size=\"9\" fill=\"#555\" text-anchor=\"end\"");
    return out;
}

std::string scaleBar(double left, double bottom, double scale) {
    const double metres = roundMetres(scale, 100.0);
    const double length = metres * scale;
    std::string out =
        line(left, bottom, left + length, bottom, "stroke=\"#000000\" stroke-width=\"2\"");
    out += line(left, bottom - 4.0, left, bottom + 1.0, "stroke=\"#000000\" stroke-width=\"1.5\"");
    out += line(left + length, bottom - 4.0, left + length, bottom + 1.0,
                "stroke=\"#000000\" stroke-width=\"1.5\"");
    out += text(left + length / 2.0, bottom - 7.0,
                number(metres).substr(0, number(metres).size() - 2) + " m",
                "font-size=\"10\" text-anchor=\"middle\"");
    return out;
}

std::string originMark(const View& view) {
    const double x = view.px(0.0);
    const double y = view.py(0.0);
    return line(x - 7.0, y, x + 7.0, y, "stroke=\"#000000\" stroke-width=\"1.2\"") +
           line(x, y - 7.0, x, y + 7.0, "stroke=\"#000000\" stroke-width=\"1.2\"") +
           text(x + 5.0, y + 13.0, "origin (0, 0)", "font-size=\"9\"");
}

// A ring's label sits above and to the right of it. Where it would leave the plot, it goes to the
// ring's left (near the east edge, where it would cross into the legend) or below the ring (near
// the top edge, where it would cover the coordinates).
std::string squadLabel(double x, double y, const std::string& content) {
    constexpr int fontSize = 12;
    constexpr double glyphWidth = 0.65 * fontSize;  // bold sans-serif, erring wide
    constexpr double sideways = 12.0;               // clear of the ring's 10-pixel radius
    constexpr double upward = 8.0;
    const double width = static_cast<double>(content.size()) * glyphWidth;
    const bool leftward = x + sideways + width > mapLeft + mapWidth;
    const bool below = y - upward - fontSize < mapTop;
    const std::string anchor = leftward ? " text-anchor=\"end\"" : "";
    return text(leftward ? x - sideways : x + sideways, below ? y + upward + fontSize : y - upward,
                content,
                "font-size=\"" + std::to_string(fontSize) +
                    "\" font-weight=\"bold\" fill=\"#000000\"" + anchor);
}

std::string squadRings(const chronicle::Chronicle& chronicle, const View& view) {
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
    std::string out;
    for (const auto& [point, label] : places) {
        const double x = view.px(point.x);
        const double y = view.py(point.y);
        out += circle(x, y, 10.0, "fill=\"none\" stroke=\"#000000\" stroke-width=\"2\"");
        out += squadLabel(x, y, "squad " + label);
    }
    return out;
}

std::string failedSpawns(const chronicle::Chronicle& chronicle, const View& view, double size,
                         const std::function<bool(const chronicle::When&)>& shown) {
    std::string out;
    for (const chronicle::FailedSpawn& failed : chronicle.failedSpawns) {
        if (shown(failed.when))
            out += failedMark(view.px(failed.position.x), view.py(failed.position.y), size);
    }
    return out;
}

std::string overviewMap(const chronicle::Chronicle& chronicle, const View& view, double height) {
    std::string out =
        rect(mapLeft, mapTop, mapWidth, height, "fill=\"#efe6d2\" stroke=\"#b9a77f\"");
    out += axes(view, height);
    out += originMark(view);
    out += hideouts(view, 4.0, 8.0, [](Vector3) { return true; });
    out += playerPath(chronicle.playerPath, view, 3.5, true);
    out += squadRings(chronicle, view);
    out += failedSpawns(chronicle, view, 6.0, [](const chronicle::When&) { return true; });
    // Below the map, where it hides no hideout.
    out += scaleBar(mapLeft, mapTop + height + 24.0, view.scale);
    return out;
}

// [SECTION] The legend
std::string legend(double top) {
    std::string out = text(legendLeft, top, "Hideouts", "font-size=\"15\" font-weight=\"bold\"");
    double y = top + 20.0;
    for (const GangProfile& profile : gangProfiles) {
        out += circle(legendLeft + 6.0, y - 4.0, 5.0,
                      "fill=\"" + std::string(profile.mapColour) + "\" stroke=\"white\"");
        out += text(legendLeft + 18.0, y,
                    std::string(profile.displayName) + " (" + std::string(profile.scenarioName) +
                        " 1-" + std::to_string(profile.hideouts.size()) + ")",
                    "font-size=\"12\"");
        y += 18.0;
    }
    out += text(legendLeft, y, "the number beside a point is", "font-size=\"11\" fill=\"#555\"");
    out += text(legendLeft, y + 13.0, "its N in goto GANG N", "font-size=\"11\" fill=\"#555\"");
    y += 36.0;
    out += text(legendLeft, y, "Marks", "font-size=\"15\" font-weight=\"bold\"");
    y += 20.0;
    auto entry = [&](const std::string& mark, std::string_view meaning) {
        out += mark;
        out += text(legendLeft + 18.0, y, meaning, "font-size=\"12\"");
        y += 18.0;
    };
    entry(circle(legendLeft + 6.0, y - 4.0, 7.0,
                 "fill=\"none\" stroke=\"#000000\" stroke-width=\"2\""),
          "squad spawned (its number)");
    entry(circle(legendLeft + 6.0, y - 4.0, 3.5,
                 "fill=\"" + std::string(playerColour) + "\" stroke=\"white\""),
          "player, at each goto");
    entry(line(legendLeft, y - 4.0, legendLeft + 12.0, y - 4.0,
               "stroke=\"" + std::string(playerColour) +
                   "\" stroke-width=\"1.5\" marker-end=\"url(#arrow)\""),
          "player's path, legs in order");
    entry(cross(legendLeft + 6.0, y - 4.0, 5.0, "#000000"), "player died");
    entry(cross(legendLeft + 6.0, y - 4.0, 4.0, deathColour), "member died");
    entry(square(legendLeft + 6.0, y - 4.0, 5.0, removedColour), "member removed by the plug-in");
    entry(circle(legendLeft + 6.0, y - 4.0, 5.0,
                 "fill=\"none\" stroke=\"" + std::string(removedColour) +
                     "\" stroke-dasharray=\"2 2\""),
          "member removed by the game");
    entry(triangle(legendLeft + 6.0, y - 4.0, 5.0, "#ffffff"), "member alive at the end");
    entry(circle(legendLeft + 6.0, y - 4.0, 2.5, "fill=\"#444444\""), "where a member spawned");
    entry(failedMark(legendLeft + 6.0, y - 4.0, 5.0), "spawn failed (no model, no ped)");
    entry(line(legendLeft - 1.0, y - 4.0, legendLeft + 13.0, y - 4.0, "stroke=\"#000000\"") +
              line(legendLeft + 6.0, y - 11.0, legendLeft + 6.0, y + 3.0, "stroke=\"#000000\""),
          "origin (0, 0)");
    y += 8.0;
    out += text(legendLeft, y, "Close-up rings", "font-size=\"15\" font-weight=\"bold\"");
    y += 20.0;
    for (const Ring& ring : rings) {
        out += line(legendLeft, y - 4.0, legendLeft + 26.0, y - 4.0,
                    "stroke=\"" + std::string(ringColour) +
                        "\" stroke-width=\"1.5\" stroke-dasharray=\"" + std::string(ring.dashes) +
                        "\"");
        out += text(legendLeft + 32.0, y,
                    number(ring.radius).substr(0, number(ring.radius).size() - 2) + " m",
                    "font-size=\"12\" font-weight=\"bold\"");
        out += text(legendLeft + 32.0, y + 13.0, ring.meaning, "font-size=\"10\" fill=\"#555\"");
        y += 32.0;
    }
    return out;
}

// [SECTION] One encounter: its close-up and the squad's formation
std::string memberMarks(const chronicle::Chronicle& chronicle, const chronicle::Squad& squad,
                        const Span& span, const View& view, double size) {
    std::string out;
    const std::string colour(squad.gang ? profileOf(*squad.gang).mapColour : "#444444");
    for (const chronicle::PedMark& mark : chronicle.marks) {
        if (std::find(squad.members.begin(), squad.members.end(), mark.ped) == squad.members.end())
            continue;
        if (mark.kind != chronicle::MarkKind::aliveAtEnd && !span.contains(mark.when)) continue;
        const double x = view.px(mark.position.x);
        const double y = view.py(mark.position.y);
        switch (mark.kind) {
            case chronicle::MarkKind::died:
                out += cross(x, y, size * 0.9, deathColour);
                break;
            case chronicle::MarkKind::deleted:
                out += square(x, y, size * 1.3, removedColour);
                break;
            case chronicle::MarkKind::vanished:
                out += circle(x, y, size * 2.0,
                              "fill=\"none\" stroke=\"" + std::string(removedColour) +
                                  "\" stroke-dasharray=\"2 2\"");
                break;
            case chronicle::MarkKind::aliveAtEnd:
                out += triangle(x, y, size, colour);
                break;
        }
    }
    return out;
}

// The squad's formation, 20 m across: where each member stood and what became of it.
std::string formationCloseUp(const chronicle::Chronicle& chronicle, const chronicle::Squad& squad,
                             const Span& span, double left, double top) {
    const double scale = closeUpSize / (2.0 * closeUpHalfWidth);
    const View view{left, top, squad.hideout.x - closeUpHalfWidth,
                    squad.hideout.y + closeUpHalfWidth, scale};
    const std::string colour(squad.gang ? profileOf(*squad.gang).mapColour : "#444444");
    std::string out =
        rect(left, top, closeUpSize, closeUpSize, "fill=\"#fffdf6\" stroke=\"#b9a77f\"");
    out += "<g clip-path=\"url(#formation" + std::to_string(squad.number) + ")\">\n";
    out += circle(view.px(squad.hideout.x), view.py(squad.hideout.y), 2.0,
                  "fill=\"" + std::string(ringColour) + "\"");
    for (std::size_t i = 0; i < squad.positions.size(); ++i) {
        const double x = view.px(squad.positions[i].x);
        const double y = view.py(squad.positions[i].y);
        out += squad.members[i] == 0 ? failedMark(x, y, 4.0)
                                     : circle(x, y, 2.5, "fill=\"" + colour + "\"");
    }
    out += memberMarks(chronicle, squad, span, view, 4.0);
    out += "</g>\n";
    out +=
        text(left, top + closeUpSize + 13.0, "formation, 20 m", "font-size=\"10\" fill=\"#555\"");
    return out;
}

std::string clip(const std::string& id, double left, double top, double size) {
    return "<clipPath id=\"" + id + "\"><rect x=\"" + number(left) + "\" y=\"" + number(top) +
           "\" width=\"" + number(size) + "\" height=\"" + number(size) + "\"/></clipPath>\n";
}

std::string encounter(const chronicle::Chronicle& chronicle, std::size_t index, double left,
                      double top) {
    const chronicle::Squad& squad = chronicle.squads[index];
    const Span span = spanOf(chronicle, index);
    const double scale = insetSize / (2.0 * insetHalfWidth);
    const View view{left, top, squad.hideout.x - insetHalfWidth, squad.hideout.y + insetHalfWidth,
                    scale};
    const std::string number = std::to_string(squad.number);
    std::string out = clip("inset" + number, left, top, insetSize);
    out += clip("formation" + number, left + insetSize + closeUpGap, top, closeUpSize);
    out += rect(left, top, insetSize, insetSize, "fill=\"#efe6d2\" stroke=\"#b9a77f\"");
    out += "<g clip-path=\"url(#inset" + number + ")\">\n";
    const double cx = view.px(squad.hideout.x);
    const double cy = view.py(squad.hideout.y);
    for (const Ring& ring : rings) {
        out += circle(cx, cy, ring.radius * scale,
                      "fill=\"none\" stroke=\"" + std::string(ringColour) +
                          "\" stroke-dasharray=\"" + std::string(ring.dashes) + "\"");
    }
    auto inFrame = [&](Vector3 point) {
        return std::abs(point.x - squad.hideout.x) <= insetHalfWidth &&
               std::abs(point.y - squad.hideout.y) <= insetHalfWidth;
    };
    out += hideouts(view, 5.0, 10.0, inFrame);
    const std::string colour(squad.gang ? profileOf(*squad.gang).mapColour : "#444444");
    for (std::size_t i = 0; i < squad.positions.size(); ++i) {
        if (squad.members[i] != 0) {
            out += circle(view.px(squad.positions[i].x), view.py(squad.positions[i].y), 1.8,
                          "fill=\"" + colour + "\"");
        }
    }
    out += memberMarks(chronicle, squad, span, view, 3.0);
    out += playerPath(stopsIn(chronicle, span), view, 4.0, false);
    out += failedSpawns(chronicle, view, 5.0,
                        [&](const chronicle::When& when) { return span.contains(when); });
    out += "</g>\n";
    out += formationCloseUp(chronicle, squad, span, left + insetSize + closeUpGap, top);
    const std::string place = squad.gang ? std::string(scenario::gangName(*squad.gang)) + " " +
                                               std::to_string(squad.point)
                                         : "no hideout";
    std::string clock = std::to_string(100 + squad.spawned.hours).substr(1) + ":" +
                        std::to_string(100 + squad.spawned.minutes).substr(1);
    out += text(left, top + insetSize + 16.0,
                "squad " + number + ": " + place + ", day " + std::to_string(squad.spawned.day) +
                    " " + clock,
                "font-size=\"12\" font-weight=\"bold\"");
    std::string until = index + 1 < chronicle.squads.size()
                            ? "until squad " + std::to_string(squad.number + 1) + " spawned"
                            : "until the end of the run";
    out += text(left, top + insetSize + 31.0, squad.model + ", " + until,
                "font-size=\"11\" fill=\"#555\"");
    return out;
}

View overviewView(const chronicle::Chronicle& chronicle, double& height) {
    double minX = 0.0, maxX = 0.0, minY = 0.0, maxY = 0.0;  // the origin is always shown
    auto include = [&](double x, double y) {
        minX = std::min(minX, x);
        maxX = std::max(maxX, x);
        minY = std::min(minY, y);
        maxY = std::max(maxY, y);
    };
    for (const GangProfile& profile : gangProfiles) {
        for (const Vector3& point : profile.hideouts) include(point.x, point.y);
    }
    for (const chronicle::PlayerStop& stop : chronicle.playerPath)
        include(stop.position.x, stop.position.y);
    minX -= mapPadding;
    maxX += mapPadding;
    minY -= mapPadding;
    maxY += mapPadding;
    const double scale = mapWidth / (maxX - minX);
    height = (maxY - minY) * scale;
    return View{mapLeft, mapTop, minX, maxY, scale};
}

}  // namespace

std::string renderMap(const chronicle::Chronicle& chronicle, const MapTitle& title) {
    double mapHeight = 0.0;
    const View view = overviewView(chronicle, mapHeight);
    const std::size_t insets = std::min(chronicle.squads.size(), maxInsets);
    const std::size_t rows = (insets + insetsPerRow - 1) / insetsPerRow;
    const double insetsTop = std::max(mapTop + mapHeight + 30.0, 600.0) + 44.0;
    const double pageHeight = insetsTop + static_cast<double>(rows) * cellHeight + margin;

    std::string out = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n";
    out += "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"" + number(pageWidth) +
           "\" height=\"" + number(pageHeight) + "\" viewBox=\"0 0 " + number(pageWidth) + " " +
           number(pageHeight) + "\" font-family=\"Helvetica, Arial, sans-serif\">\n";
    const std::string scenarioName = std::filesystem::path(title.scenario).filename().string();
    const std::string heading =
        "Gang Hideouts, build " + title.build + ", scenario " + scenarioName;
    out += "<title>" + escaped(heading) + "</title>\n";
    out += arrowMarker();
    out += rect(0.0, 0.0, pageWidth, pageHeight, "fill=\"#faf6ec\"");
    out += text(margin, 28.0, heading, "font-size=\"20\" font-weight=\"bold\"");
    const std::string summary =
        title.scenario + ", seed " + std::to_string(title.seed) + ": " +
        wording::counted(static_cast<std::int64_t>(chronicle.squads.size()), "squad", "squads") +
        ", " + wording::counted(chronicle.deletedCount, "member", "members") +
        " removed by the plug-in";
    out += text(margin, 46.0, summary, "font-size=\"12\" fill=\"#555\"");
    out += overviewMap(chronicle, view, mapHeight);
    out += legend(mapTop + 12.0);
    if (insets > 0) {
        out += text(margin, insetsTop - 14.0,
                    "Encounters, 400 m across, each from its squad's spawn to the next",
                    "font-size=\"15\" font-weight=\"bold\"");
    }
    for (std::size_t i = 0; i < insets; ++i) {
        const double left = margin + static_cast<double>(i % insetsPerRow) * (cellWidth + cellGap);
        const double top = insetsTop + static_cast<double>(i / insetsPerRow) * cellHeight;
        out += encounter(chronicle, i, left, top);
    }
    if (chronicle.squads.size() > maxInsets) {
        out += text(margin, pageHeight - 8.0,
                    "close-ups of the first " + std::to_string(maxInsets) + " squads only",
                    "font-size=\"11\" fill=\"#555\"");
    }
    out += "</svg>\n";
    return out;
}

}  // namespace svg
