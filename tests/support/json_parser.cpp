#include "json_parser.h"

#include <cstdlib>

#include "processes.h"
#include "scratch_dir.h"

namespace csv2pnp::test {

bool haveJsonParser() { return std::system("python3 -c \"import json\" >tool.out 2>&1") == 0; }

std::optional<std::string> queryJson(const std::string& file, const std::string& expression) {
    writeFile("query.py",
              "import json, sys\n"
              "def refuse(constant): raise ValueError(constant)\n"
              "d = json.load(open(sys.argv[1], encoding='utf-8', errors='strict'), parse_constant=refuse)\n"
              "value = " +
                  expression +
                  "\n"
                  "for item in (value if isinstance(value, list) else [value]): print(item)\n");
    ToolRun run = runProgram("python3", "query.py " + file);
    if (run.status != 0) return std::nullopt;
    return run.out;
}

}  // namespace csv2pnp::test
