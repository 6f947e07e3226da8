#pragma once
// The stand-in's command line.
#include <string>
#include <vector>

#include "tools/standin/Router.h"

namespace standin {

// The port and update file baked in at build time; no overrides; not quiet.
Settings DefaultSettings();

struct ParsedArguments {
  Settings settings;
  bool help = false;
  std::string error;  // empty when the arguments were fine
};

// args without the program name. Options:
//   --port N (0..65535; 0 picks a free port), --update-file PATH,
//   --status PATH=CODE (repeatable; PATH starts with "/", CODE 100..599),
//   --date YYYY-MM-DD, --quiet, --help.
// "--name value" and "--name=value" are both accepted.
ParsedArguments ParseArguments(const std::vector<std::string>& args);

std::string Usage();

}  // namespace standin
