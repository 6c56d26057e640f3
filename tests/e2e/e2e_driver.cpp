// The e2e driver: e2e_driver.exe <path of vantrel.exe> [--shots <folder>] [--filter <text>]
// Runs the registered cases against the real program and ends with
// "e2e: N passed, M failed"; the exit code is non-zero when a case failed.
#include <cstdio>
#include <string>

#include "e2e.h"

int main(int argc, char** argv) {
  e2e::Context ctx;
  std::string filter;
  for (int i = 1; i < argc; ++i) {
    std::string arg = argv[i];
    if (arg == "--shots" && i + 1 < argc)
      ctx.shotsDir = argv[++i];
    else if (arg == "--filter" && i + 1 < argc)
      filter = argv[++i];
    else
      ctx.programPath = arg;
  }
  char full[MAX_PATH] = {};
  if (ctx.programPath.empty() ||
      GetFullPathNameA(ctx.programPath.c_str(), sizeof full, full, nullptr) == 0 ||
      !e2e::IsFile(full)) {
    std::printf("usage: e2e_driver <vantrel.exe> [--shots <folder>] [--filter <text>]\n");
    std::printf("e2e: 0 passed, 1 failed\n");
    return 2;
  }
  ctx.programPath = full;

  char self[MAX_PATH] = {};
  GetModuleFileNameA(nullptr, self, sizeof self);
  std::string folder = self;
  ctx.spyPath = folder.substr(0, folder.find_last_of('\\') + 1) + "menuspy.dll";

  return e2e::RunAll(ctx, filter) == 0 ? 0 : 1;
}
