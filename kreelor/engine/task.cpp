// The cooperative task list.
#include "kreelor/engine/task.h"

#include "kreelor/engine/directx.h"
#include "kreelor/engine/memory.h"

namespace kreelor {

task_t* tasks[MAXTASKS] = {};
int32_t notasks = 0, currenttask = 0, tasktime = 0;

static task_t* running() {
  if (currenttask < 0 || currenttask >= notasks) return nullptr;
  return tasks[currenttask];
}

void addtask(statefn f) {
  if (notasks >= MAXTASKS) return;  // a limit the callers respect
  auto* t = (task_t*)getmemory(sizeof(task_t));
  if (!t) return;
  *t = task_t{};
  t->state = f;
  tasks[notasks++] = t;
}

void taskset(statefn f) {
  task_t* t = running();
  if (!t) return;
  t->state = f;
  t->statetime = 0;
}

void taskswitch(statefn f) {
  task_t* t = running();
  if (!t) return;
  taskset(f);
  if (f) f();
}

void taskcall(statefn f) {
  task_t* t = running();
  if (!t) return;
  if (t->depth < STATEDEPTH) t->statestack[t->depth++] = t->state;
  taskswitch(f);
}

void taskreturn() {
  task_t* t = running();
  if (!t || t->depth == 0) return;
  statefn f = t->statestack[--t->depth];
  t->state = f;
  t->statetime = 0;
  if (f) f();
}

void endtask() {
  if (task_t* t = running()) t->taskflags |= TASKENDED;
}

void suspendtasks() {
  task_t* self = running();
  if (!self) return;
  self->taskflags |= TASKMODAL;
  for (int i = 0; i < notasks; ++i)
    if (tasks[i] != self) tasks[i]->taskflags |= TASKFROZEN;
}

void restoretasks() {
  if (task_t* self = running()) self->taskflags &= ~TASKMODAL;
  for (int i = 0; i < notasks; ++i) tasks[i]->taskflags &= ~TASKFROZEN;
  // Two clock reads: the time spent in the modal phase never reaches a frame's step.
  gettime();
  gettime();
}

void taskmanager() {
  if (notasks == 0) return;
  const int n = notasks;
  for (int i = 0; i < n && i < notasks; ++i) {
    task_t* t = tasks[i];
    t->statetime += deltatime;
    if (t->taskflags & TASKFROZEN) continue;
    tasktime = t->statetime;
    if (t->state) {
      currenttask = i;
      t->state();
    }
  }
  for (int i = 0; i < notasks;) {
    currenttask = i;
    if (tasks[i]->taskflags & TASKENDED)
      deletetask(i);
    else
      ++i;
  }
}

void deletetask(int i) {
  if (i < 0 || i >= notasks) return;
  if (tasks[i]->taskflags & TASKMODAL) {
    currenttask = i;
    restoretasks();
  }
  freememory(tasks[i]);
  notasks -= 1;
  if (i != notasks) tasks[i] = tasks[notasks];
  tasks[notasks] = nullptr;
}

void cleartasks() {
  for (int i = 0; i < notasks; ++i) {
    freememory(tasks[i]);
    tasks[i] = nullptr;
  }
  notasks = 0;
  currenttask = 0;
}

}  // namespace kreelor
