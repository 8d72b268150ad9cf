// A build unloaded and loaded again in the same process starts afresh, as a DLL that the game
// frees and loads again does: nothing of the first load's encounter survives into the second.
#include <gtest/gtest.h>

#include <string>
#include <variant>

#include "data/hideouts.h"
#include "data/squad_formation.h"
#include "sim/control.h"
#include "sim/plugin_loader.h"
#include "sim/script_fibre.h"

namespace {

// Each load, in a fresh world: the player walks up to a hideout and a squad must spawn.
TEST(PluginReload, ABuildLoadedAgainSpawnsAsIfLoadedForTheFirstTime) {
    for (int load = 1; load <= 2; ++load) {
        SCOPED_TRACE("load " + std::to_string(load));
        sim::resetWorld();
        sim::startFibreHost();
        auto plugin = sim::loadPlugin(RELOADED_PLUGIN);
        ASSERT_TRUE(std::holds_alternative<sim::LoadedPlugin>(plugin));
        const Vector3 hideout = dusterHideouts[3];
        sim::placePlayer({hideout.x, hideout.y - 30.0f, hideout.z});
        for (int frame = 0; frame < 30 * 30 && sim::runScriptFrame(); ++frame) sim::clearCalls();
        sim::unloadPlugin(std::get<sim::LoadedPlugin>(plugin));
        sim::stopFibreHost();
        EXPECT_FALSE(sim::hostFailure().has_value()) << sim::hostFailure().value_or("");
        EXPECT_EQ(sim::createdPeds().size(), static_cast<std::size_t>(squadSize));
    }
}

}  // namespace
