#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include "platform/instance.h"

using namespace platform;

TEST(SingleInstance, SecondCopyAsksTheFirstToComeForwardAndEnds) {
  const std::string name = "platform-test-" + std::to_string(getpid());
  ASSERT_TRUE(acquire_single_instance(name));
  EXPECT_FALSE(single_instance_raise_requested());
  pid_t child = fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    release_single_instance();  // the child's copy of the endpoint; the parent still holds it
    _exit(acquire_single_instance(name) ? 1 : 0);  // must be refused
  }
  int status = 0;
  ASSERT_EQ(waitpid(child, &status, 0), child);
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
  EXPECT_TRUE(single_instance_raise_requested());
  EXPECT_FALSE(single_instance_raise_requested());  // once per request
  release_single_instance();
  // Released: the name can be held again.
  child = fork();
  if (child == 0) _exit(acquire_single_instance(name) ? 0 : 1);
  ASSERT_EQ(waitpid(child, &status, 0), child);
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
}
