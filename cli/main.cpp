#include <cstdlib>
#include <ctime>
#include <iostream>

#include "cli/cli.h"

int main(int argc, char** argv) {
  zelk::CliEnvironment environment;
  if (const char* epoch = std::getenv("SOURCE_DATE_EPOCH")) environment.source_date_epoch = epoch;
  environment.now = std::time(nullptr);
  return zelk::cli_main(std::vector<std::string>(argv + 1, argv + argc), std::cout, std::cerr, environment);
}
