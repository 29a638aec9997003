// The task list's edge cases.
#include <gtest/gtest.h>

#include <string>

#include "kreelor/engine/directx.h"
#include "kreelor/engine/task.h"

using namespace kreelor;

namespace {
std::string log;
uint32_t ticks = 0;

void b() { log += "b"; }
void a() {
  log += "a";
  taskswitch(b);
}
void c() { log += "c"; }
void adder() {
  log += "+";
  addtask(c);
  taskset(nullptr);
}
void ender() {
  log += "e";
  endtask();
}
void caller() {
  log += "C";
  taskcall(c);
}
void returner() {
  log += "R";
  taskreturn();
}
void modal() {
  log += "M";
  suspendtasks();
  taskset(nullptr);
}
void counter() { log += "."; }

struct Tasks : ::testing::Test {
  uint32_t (*keepget)() = nullptr;
  void (*keepwait)(uint32_t) = nullptr;
  void SetUp() override {
    cleartasks();
    log.clear();
    deltatime = 5;
    keepget = gettickcount, keepwait = waitticks;
    gettickcount = [] { return ticks; };
    waitticks = [](uint32_t t) { ticks = t; };
    frameminimum = 2;
  }
  void TearDown() override {
    cleartasks();
    gettickcount = keepget, waitticks = keepwait;
  }
};
}  // namespace

TEST_F(Tasks, SwitchRunsAtOnceAndResetsStateTime) {
  addtask(a);
  taskmanager();
  EXPECT_EQ(log, "ab");
  EXPECT_EQ(tasks[0]->state, &b);
  EXPECT_EQ(tasks[0]->statetime, 0);
  taskmanager();
  EXPECT_EQ(log, "abb");
  EXPECT_EQ(tasks[0]->statetime, 5);
  EXPECT_EQ(tasktime, 5);
}

TEST_F(Tasks, AddedDuringAPassRunNextFrame) {
  addtask(adder);
  taskmanager();
  EXPECT_EQ(log, "+");
  EXPECT_EQ(notasks, 2);
  taskmanager();
  EXPECT_EQ(log, "+c");
}

TEST_F(Tasks, EndedTasksLeaveAfterThePassAndTheLastFillsTheHole) {
  addtask(ender);
  addtask(counter);
  addtask(c);
  taskmanager();
  EXPECT_EQ(log, "e.c");
  ASSERT_EQ(notasks, 2);
  EXPECT_EQ(tasks[0]->state, &c);  // the last task moved into the hole
  EXPECT_EQ(tasks[1]->state, &counter);
  EXPECT_EQ(tasks[2], nullptr);
}

TEST_F(Tasks, CallAndReturnUseTheStateStack) {
  addtask(caller);
  taskmanager();
  EXPECT_EQ(log, "Cc");
  EXPECT_EQ(tasks[0]->depth, 1);
  currenttask = 0;
  tasks[0]->state = returner;
  taskmanager();  // returner pops caller and calls it at once, which calls c again
  EXPECT_EQ(log, "CcRCc");
  EXPECT_EQ(tasks[0]->depth, 1);
  // An empty stack: nothing happens.
  tasks[0]->depth = 0;
  tasks[0]->state = returner;
  taskmanager();
  EXPECT_EQ(log, "CcRCcR");
  EXPECT_EQ(tasks[0]->state, &returner);
}

TEST_F(Tasks, ModalFreezesOthersWhoKeepCountingAndItsEndDropsTheModalTime) {
  addtask(counter);
  addtask(modal);
  taskmanager();
  EXPECT_EQ(log, ".M");
  EXPECT_TRUE(tasks[0]->taskflags & TASKFROZEN);
  EXPECT_TRUE(tasks[1]->taskflags & TASKMODAL);
  const int32_t before = tasks[0]->statetime;
  taskmanager();
  EXPECT_EQ(log, ".M");  // the frozen task is not called
  EXPECT_EQ(tasks[0]->statetime, before + 5);
  ticks = 10000;  // a long stay in the modal phase
  newtime = 100;
  currenttask = 1;
  endtask();
  taskmanager();
  ASSERT_EQ(notasks, 1);
  EXPECT_EQ(tasks[0]->taskflags & TASKFROZEN, 0);
  ticks += 20;
  gettime();
  EXPECT_EQ(deltatime, 10);  // 20 ms since the modal end, not the modal phase
  taskmanager();
  EXPECT_EQ(log, ".M.");
}

TEST_F(Tasks, RestoreClearsModalAndFrozenBits) {
  addtask(counter);
  addtask(counter);
  currenttask = 1;
  suspendtasks();
  EXPECT_EQ(tasks[1]->taskflags, TASKMODAL);
  EXPECT_EQ(tasks[0]->taskflags, TASKFROZEN);
  restoretasks();
  EXPECT_EQ(tasks[0]->taskflags, 0);
  EXPECT_EQ(tasks[1]->taskflags, 0);
}
