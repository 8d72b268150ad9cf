// The map as a planning aid: hideout numbers and tooltips, a close-up per encounter limited to
// its own span of time with the neighbouring hideouts, and a picture that really renders.
#include <cmath>

#include "run_simulator.h"
#include "tools/scenario.h"
#include "tools/svg_map.h"

namespace {

using namespace simrun;

chronicle::When at(std::int64_t frame) {
    return {frame, frame * 1000 / 30, 0, 8, 0};
}

// The two hideout points closest to each other: the first's close-up must show the second.
std::pair<std::pair<Gang, int>, std::pair<Gang, int>> closestPair() {
    double best = 1e18;
    std::pair<std::pair<Gang, int>, std::pair<Gang, int>> pair{};
    for (const GangProfile& a : gangProfiles) {
        for (std::size_t i = 0; i < a.hideouts.size(); ++i) {
            for (const GangProfile& b : gangProfiles) {
                for (std::size_t j = 0; j < b.hideouts.size(); ++j) {
                    if (&a == &b && i == j) continue;
                    const double d = std::hypot(a.hideouts[i].x - b.hideouts[j].x,
                                                a.hideouts[i].y - b.hideouts[j].y);
                    if (d < best) {
                        best = d;
                        pair = {{a.gang, static_cast<int>(i) + 1},
                                {b.gang, static_cast<int>(j) + 1}};
                    }
                }
            }
        }
    }
    return pair;
}

Vector3 pointOf(std::pair<Gang, int> point) {
    return ::profileOf(point.first).hideouts[static_cast<std::size_t>(point.second) - 1];
}

std::string title(std::pair<Gang, int> point) {
    return "<title>" + std::string(scenario::gangName(point.first)) + " " +
           std::to_string(point.second) + " " + chronicle::describePosition(pointOf(point)) +
           "</title>";
}

// Two encounters: the player dies and a member dies during the second, a member of the first
// stays alive to the end, and one member of the second was never created.
chronicle::Chronicle twoEncounters(std::pair<Gang, int> first, std::pair<Gang, int> second) {
    chronicle::Chronicle story;
    auto squad = [&](int number, std::pair<Gang, int> point, std::int64_t frame,
                     std::vector<Ped> members) {
        chronicle::Squad s{};
        s.number = number;
        s.gang = point.first;
        s.point = point.second;
        s.hideout = pointOf(point);
        s.model = "g_m_m_uniduster_01";
        s.spawned = at(frame);
        s.complete = at(frame + 200);
        s.members = members;
        for (std::size_t i = 0; i < members.size(); ++i) {
            s.positions.push_back({s.hideout.x + static_cast<float>(i), s.hideout.y, s.hideout.z});
        }
        story.squads.push_back(s);
    };
    squad(1, first, 100, {101, 102});
    squad(2, second, 1000, {103, 0});
    story.failedSpawns.push_back({story.squads[1].positions[1], at(1000), 2});
    story.playerPath = {{{0.0f, 0.0f, 0.0f}, at(0), false},
                        {pointOf(first), at(50), false},
                        {pointOf(second), at(900), false},
                        {pointOf(second), at(1100), true}};
    story.marks = {{chronicle::MarkKind::died, 103, story.squads[1].positions[0], at(1200)},
                   {chronicle::MarkKind::aliveAtEnd, 101, story.squads[0].positions[0], at(2000)}};
    return story;
}

std::string between(const std::string& text, const std::string& from, const std::string& to) {
    const std::size_t start = text.find(from);
    const std::size_t end = text.find(to, start);
    return start == std::string::npos
               ? std::string{}
               : text.substr(start, end == std::string::npos ? end : end - start);
}

constexpr std::string_view playerDiedCross = "stroke=\"#000000\" stroke-width=\"2.5\"";
constexpr std::string_view memberDiedCross = "stroke=\"#c0161b\" stroke-width=\"2.5\"";
constexpr std::string_view aliveTriangle = "Z\" fill=";
constexpr std::string_view failedSpawn = "stroke=\"#c0161b\" stroke-width=\"2\"";

TEST(SvgMap, EveryHideoutCarriesItsNumberAndATooltipAndTheMapItsScaleAndOrigin) {
    const auto [first, second] = closestPair();
    const std::string map = svg::renderMap(twoEncounters(first, second), {"06h", "t.scenario", 1});
    std::size_t titles = 0;
    for (const GangProfile& profile : gangProfiles) {
        for (std::size_t i = 0; i < profile.hideouts.size(); ++i) {
            titles += map.find(title({profile.gang, static_cast<int>(i) + 1})) != std::string::npos;
        }
    }
    EXPECT_EQ(titles, 87u) << "a hideout without its tooltip";
    EXPECT_NE(map.find(">38</text>"), std::string::npos) << "the duster list's last number";
    EXPECT_NE(map.find("origin (0, 0)"), std::string::npos);
    EXPECT_NE(map.find(" m</text>"), std::string::npos) << "no scale bar";
    EXPECT_NE(map.find("x (m, east)"), std::string::npos) << "no coordinates along the edges";
    EXPECT_NE(map.find("marker-end=\"url(#arrow)\""), std::string::npos)
        << "the path has no direction";
    for (std::string_view legend :
         {"member alive at the end", "spawn failed", "50 m", "100 m", "150 m"}) {
        EXPECT_NE(map.find(legend), std::string::npos) << legend;
    }
}

// Squad 1's close-up showed a death from squad 2, left out neighbouring hideouts, and members
// alive at the end looked like hideouts.
TEST(SvgMap, EachCloseUpShowsOnlyItsOwnEncounterAndItsNeighbours) {
    const auto [first, second] = closestPair();
    const std::string map = svg::renderMap(twoEncounters(first, second), {"06h", "t.scenario", 1});
    const std::string one = between(map, "<clipPath id=\"inset1\">", "<clipPath id=\"inset2\">");
    const std::string two = between(map, "<clipPath id=\"inset2\">", "</svg>");
    ASSERT_FALSE(one.empty());
    ASSERT_FALSE(two.empty());
    EXPECT_NE(one.find(title(second)), std::string::npos) << "the neighbouring hideout is missing";
    EXPECT_NE(two.find(title(first)), std::string::npos) << "the neighbouring hideout is missing";
    EXPECT_EQ(one.find(playerDiedCross), std::string::npos)
        << "squad 2's player death in squad 1's close-up";
    EXPECT_EQ(one.find(memberDiedCross), std::string::npos)
        << "squad 2's member death in squad 1's close-up";
    EXPECT_EQ(one.find(failedSpawn), std::string::npos);
    EXPECT_NE(one.find(aliveTriangle), std::string::npos)
        << "a member alive at the end has no mark of its own";
    EXPECT_NE(two.find(playerDiedCross), std::string::npos);
    EXPECT_NE(two.find(memberDiedCross), std::string::npos);
    EXPECT_NE(two.find(failedSpawn), std::string::npos) << "a member never created has no mark";
}

// The whole opening tag of the element that holds `inside`.
std::string tagHolding(const std::string& map, const std::string& inside) {
    const std::size_t at = map.find(inside);
    if (at == std::string::npos) return {};
    const std::size_t open = map.rfind('<', at);
    return map.substr(open, map.find('>', at) - open);
}

double attribute(const std::string& tag, const std::string& name) {
    const std::size_t at = tag.find(" " + name + "=\"");
    return at == std::string::npos ? NAN : std::stod(tag.substr(at + name.size() + 3));
}

// A squad that spawned at the easternmost hideout had its label written rightwards past the
// plot's edge and across the legend. A label must stay inside the plot wherever its squad is.
TEST(SvgMap, ASquadsLabelStaysInsideThePlotAtEveryEdge) {
    auto farthest = [](auto key) {
        std::pair<Gang, int> best{};
        double bestKey = -1e18;
        for (const GangProfile& profile : gangProfiles) {
            for (std::size_t i = 0; i < profile.hideouts.size(); ++i) {
                if (key(profile.hideouts[i]) > bestKey) {
                    bestKey = key(profile.hideouts[i]);
                    best = {profile.gang, static_cast<int>(i) + 1};
                }
            }
        }
        return best;
    };
    const std::pair<std::string, std::pair<Gang, int>> edges[] = {
        {"east", farthest([](Vector3 p) { return p.x; })},
        {"west", farthest([](Vector3 p) { return -p.x; })},
        {"north", farthest([](Vector3 p) { return p.y; })},
        {"south", farthest([](Vector3 p) { return -p.y; })},
    };
    const std::string content = "squad 1,2";  // both squads spawn at the one point
    for (const auto& [edge, point] : edges) {
        const std::string map = svg::renderMap(twoEncounters(point, point), {"06h", "t", 1});
        const std::string plot = tagHolding(map, "fill=\"#efe6d2\"");  // the overview comes first
        const std::string label = tagHolding(map, ">" + content + "</text>");
        ASSERT_FALSE(label.empty()) << edge << ": no label";
        const double x = attribute(label, "x");
        const double size = attribute(label, "font-size");
        // Bold sans-serif glyphs run about 0.6 of the font size across.
        const double width = static_cast<double>(content.size()) * size * 0.6;
        const double from = label.find("text-anchor=\"end\"") != std::string::npos ? x - width : x;
        EXPECT_GE(from, attribute(plot, "x")) << edge << ": " << label;
        EXPECT_LE(from + width, attribute(plot, "x") + attribute(plot, "width"))
            << edge << ": " << label;
        EXPECT_GE(attribute(label, "y") - size, attribute(plot, "y")) << edge << ": " << label;
    }
}

class RenderedMap : public ScratchDirectory {};

TEST_F(RenderedMap, TheDemosMapRendersToAValidPicture) {
    const fs::path map = out("map.svg");
    const RunResult run = runSimulator({"--svg", map.string()});
    ASSERT_EQ(run.status, 0) << run.output;
    const fs::path picture = out("map.png");
    const RunResult render =
        runCommand("rsvg-convert '" + map.string() + "' -o '" + picture.string() + "'");
    ASSERT_EQ(render.status, 0)
        << "rsvg-convert (Debian librsvg2-bin, installed by scripts/bootstrap.sh): "
        << render.output;
    const std::string png = readFile(picture);
    ASSERT_GT(png.size(), 24u);
    EXPECT_EQ(png.substr(0, 8), std::string("\x89PNG\r\n\x1a\n", 8));
    const auto width =
        (static_cast<unsigned char>(png[16]) << 24) | (static_cast<unsigned char>(png[17]) << 16) |
        (static_cast<unsigned char>(png[18]) << 8) | static_cast<unsigned char>(png[19]);
    EXPECT_EQ(width, 1200) << "the page is 1200 pixels wide";
}

}  // namespace
