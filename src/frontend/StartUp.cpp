#include "frontend/StartUp.h"

#include "board/UnitBitBoard.h"
#include "board/ZobristKeys.h"
#include "eval/UnitEval.h"
#include "eval/UnitPSE.h"
#include "frontend/BoardDisplay.h"
#include "frontend/ConsoleIO.h"
#include "frontend/ConsoleLoop.h"
#include "frontend/Helpers.h"
#include "search/UnitHash.h"
#include "search/UnitSearch.h"

int32_t ProtocolMode = ConsoleProtocol;
int32_t HashSizeMB = DefaultHashSizeMB;

void ProgramEntry() {
  InitConsoleIO();
  InitEngine();
  ConsoleLoop();
  FlushText();
}

void InitEngine() {
  Reseed();
  ProtocolMode = ConsoleProtocol;
  HashSizeMB = DefaultHashSizeMB;
  WriteLine(EngineVersion);
  InitBitBoards();
  InitZobristKeys();
  SetHashSize();
  ClearPawnCache();
  ClearMaterialCache();
  SetFigurines("1", false);
  InitPSETables();
  InitAdvancedPawnTable();
  NewGame();
  SetBoardDisplay("1", false);
  WriteLine("\r\nType ? or HELP to get a list of commands\r\n");
}
