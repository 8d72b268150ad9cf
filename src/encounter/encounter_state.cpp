#include "encounter/encounter_state.h"

EncounterState encounterState;
