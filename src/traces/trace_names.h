// The names the traces of a session of inputs go by: a label given for an input, and captions
// that tell apart inputs of the same name from different folders.
#pragma once

#include <string>
#include <vector>

#include "traces/trace.h"

namespace csv2pnp {

// The input's traces named after the label: its first phase-noise trace "<label>", the others
// "<label> <part>" ("<label> floor").
void labelTraces(std::vector<Trace>& traces, const std::string& label);

// Traces of different inputs whose captions are alike (a/meas.csv and b/meas.csv) take the
// folder of their input before their caption and measurement, as the command line named it.
void distinguishSources(std::vector<Trace>& traces);

}  // namespace csv2pnp
