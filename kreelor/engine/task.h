// The cooperative task list: every piece of game logic is a task whose current
// state function runs once per frame.
#pragma once
#include <cstdint>

namespace kreelor {

using statefn = void (*)();

constexpr int MAXTASKS = 1024;
constexpr int STATEDEPTH = 10;

enum : int32_t { TASKENDED = 1, TASKFROZEN = 2, TASKMODAL = 4 };

struct task_t {
  statefn state;
  statefn statestack[STATEDEPTH];
  int32_t depth;
  int32_t statetime;  // deltatime units in the current state
  int32_t taskflags;
};

extern task_t* tasks[MAXTASKS];
extern int32_t notasks, currenttask, tasktime;

void addtask(statefn f);
void taskswitch(statefn f);
void taskcall(statefn f);
void taskreturn();
void taskset(statefn f);
void endtask();
void suspendtasks();
void restoretasks();
void taskmanager();
void deletetask(int i);
// Frees every task (tests and a restart of the list).
void cleartasks();

}  // namespace kreelor
