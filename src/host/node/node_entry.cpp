// The two programs of the npm package, as functions of one module: worker.js calls the one
// its command names, with the arguments in Module.node.
#include <emscripten.h>

#include "check/check_run.h"
#include "driver/entry.h"
#include "host/common/terminal_options.h"
#include "host/node/node_check_platform.h"
#include "host/node/node_system.h"

extern "C" {

EMSCRIPTEN_KEEPALIVE int quillbit_node_quillbit() {
  quillbit::NodeStreams streams;
  const std::vector<std::string> arguments = quillbit::node_system::Arguments();
  if (const std::optional<int> status = quillbit::AnswerTerminalOption(arguments, streams)) {
    return *status;
  }
  quillbit::TerminalPresentation terminal(quillbit::node_system::OutputIsTerminal(), streams);
  quillbit::NodeHost host(arguments, terminal);
  return quillbit::RunProgram(host);
}

EMSCRIPTEN_KEEPALIVE int quillbit_node_check() {
  quillbit::NodeCheckPlatform platform;
  return quillbit::RunCheck(platform, quillbit::node_system::Arguments());
}
}
