// Move choice and search control: game state that the search owns.
#pragma once
#include <cstdint>

extern int64_t TimeForMoveMs;
extern int32_t LastScore;
extern int32_t PrevLastScore;

void NewGame();
void ResetKeyHistory();
