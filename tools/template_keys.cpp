// Prints the program's key tables of Config.ini in the form scripts/make_dist.py
// builds the template SysConfig.ini from (see screen::templateKeysJson):
//
//   template_keys > scripts/build/template_keys.json
#include <cstdio>

#include "screen/state/config_keys.h"

int main() {
  const std::string json = screen::templateKeysJson();
  std::fwrite(json.data(), 1, json.size(), stdout);
  return 0;
}
