// Single-instance guard. The first copy holds a named endpoint; a second start
// asks the first to come to the front (it receives an EventType::Raise) and
// then ends.
#pragma once
#include <string>

namespace platform {

// True when this is the only copy (the name is now held). False when another
// copy runs: it has been asked to come forward.
bool acquire_single_instance(const std::string& name);
void release_single_instance();
// Polled by the event pump: true once per request from a second copy.
bool single_instance_raise_requested();

}  // namespace platform
