// Game state owned by the move choice: new game, key history, move time.
#include "search/UnitSearch.h"

#include "board/Position.h"

int64_t TimeForMoveMs = 0;
int32_t LastScore = 0;
int32_t PrevLastScore = 0;

void NewGame() { SetPositionFromFEN(StartFEN); }

void ResetKeyHistory() {
  KeyHistoryCount = 1;
  KeyHistory[1] = HashKey;
  HalfmoveClock = 0;
}
