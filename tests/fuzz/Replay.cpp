// Runs a fuzz target once over every file given, or every file under each
// folder given (the seeds and the inputs that once found a fault), so that
// a build without a fuzzing engine still checks them all.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <system_error>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

namespace fs = std::filesystem;

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: %s <input file or folder>...\n", argv[0]);
    return 2;
  }
  std::vector<fs::path> inputs;
  for (int i = 1; i < argc; ++i) {
    const fs::path given(argv[i]);
    std::error_code ec;
    if (fs::is_directory(given, ec)) {
      for (fs::recursive_directory_iterator it(given, ec), end; !ec && it != end; it.increment(ec)) {
        if (it->is_regular_file(ec)) inputs.push_back(it->path());
      }
    } else if (fs::is_regular_file(given, ec)) {
      inputs.push_back(given);
    }
    if (ec || !fs::exists(given)) {
      std::fprintf(stderr, "cannot read %s\n", argv[i]);
      return 2;
    }
  }
  // An empty corpus would pass without checking anything.
  if (inputs.empty()) {
    std::fprintf(stderr, "no inputs found\n");
    return 2;
  }
  std::sort(inputs.begin(), inputs.end());

  for (const fs::path& path : inputs) {
    std::ifstream in(path, std::ios::binary);
    const std::vector<char> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (!in.good() && !in.eof()) {
      std::fprintf(stderr, "cannot read %s\n", path.string().c_str());
      return 2;
    }
    // Printed first, so that a crash shows which input caused it.
    std::fprintf(stderr, "%s\n", path.string().c_str());
    std::fflush(stderr);
    // Never a null pointer, as with the fuzzing engine, even for an empty file.
    static const std::uint8_t kNothing = 0;
    const auto* data = bytes.empty() ? &kNothing : reinterpret_cast<const std::uint8_t*>(bytes.data());
    LLVMFuzzerTestOneInput(data, bytes.size());
  }
  std::fprintf(stderr, "%zu inputs replayed\n", inputs.size());
  return 0;
}
