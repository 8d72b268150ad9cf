#include "encounter/encounter_state.h"

VisitRegistry visitRegistry;
GangRoster gangRoster;
EncounterState encounterState;
