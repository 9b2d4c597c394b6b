#include "traces/trace_names.h"

#include <map>
#include <set>

#include "files/base_name.h"

namespace csv2pnp {

void labelTraces(std::vector<Trace>& traces, const std::string& label) {
    bool named = false;
    for (Trace& trace : traces) {
        const bool first = isPhaseNoise(trace) && !named;
        trace.caption = first || trace.part.empty() ? label : label + " " + trace.part;
        trace.measurement = trace.label = label;
        named = named || first;
    }
}

void distinguishSources(std::vector<Trace>& traces) {
    std::map<std::string, std::set<std::string>> sourcesOf;  // caption: the inputs that give it
    for (const Trace& trace : traces) sourcesOf[trace.caption].insert(trace.source);
    for (Trace& trace : traces) {
        if (sourcesOf[trace.caption].size() < 2) continue;
        const std::string folder = trace.source.substr(0, trace.source.size() - baseNameOf(trace.source).size());
        trace.measurement = folder + trace.measurement;
        trace.caption = folder + trace.caption;
    }
}

}  // namespace csv2pnp
