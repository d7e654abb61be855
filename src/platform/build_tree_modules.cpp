// Linked only into the programs of the build tree that run outside the program
// folder (tests, tools): they find the modules where the build puts them. The
// program itself never carries this folder (a build path has no meaning on the
// machine it is installed on).
#include "platform/optional_module.h"

namespace {

const bool registered = [] {
  platform::addModuleFolder(QString::fromUtf8(KV_BUILD_MODULE_DIR));
  return true;
}();

}  // namespace
