#pragma once

#include "os/Wmi.h"

#include <utility>

namespace testsupport {

// The machine the device queries read: the one given, the same at every read.
class GivenMachine : public os::MachineSource {
public:
    explicit GivenMachine(os::Machine machine) : machine_(std::move(machine)) {}
    os::Machine read() override { return machine_; }

private:
    os::Machine machine_;
};

}
