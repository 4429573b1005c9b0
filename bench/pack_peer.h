// free-tex-packer-core as the packing benchmarks' peer: installed, pinned,
// into the build folder, and driven by bench/pack_peer.js.
#pragma once

#include <sys/wait.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace oz::bench {

inline constexpr const char* kPackPeer = "free-tex-packer-core@0.3.9";

// Quotes an argument for the shell.
inline std::string quoted(const std::string& text) {
  std::string out = "'";
  for (char c : text) out += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return out + "'";
}

// Whether the peer can run: node and npm are there, and the pinned peer is
// in `dir`, installed now if it was not. Says why not on stderr.
inline bool packPeerReady(const std::string& dir) {
  if (std::system("command -v node >/dev/null 2>&1 && command -v npm >/dev/null 2>&1") != 0) {
    std::fprintf(stderr, "node and npm are not installed: the peer's figures are skipped.\n");
    return false;
  }
  if (std::filesystem::exists(dir + "/node_modules/free-tex-packer-core/package.json")) return true;
  const std::string install = "npm install --no-audit --no-fund --prefix " + quoted(dir) + " " +
                              kPackPeer + " >/dev/null 2>&1";
  if (std::system(install.c_str()) != 0) {
    std::fprintf(stderr, "%s did not install into %s: the peer's figures are skipped.\n", kPackPeer,
                 dir.c_str());
    return false;
  }
  return true;
}

struct PeerRun {
  bool finished = false;  // within the time limit, and without failing
  bool timedOut = false;
  std::string output;
};

// Runs bench/pack_peer.js with `args` after the peer's folder, stopped after
// `limitSeconds` when that is above 0.
inline PeerRun runPackPeer(const std::string& script, const std::string& dir,
                           const std::vector<std::string>& args, int limitSeconds = 0) {
  std::string command = limitSeconds > 0 ? "timeout " + std::to_string(limitSeconds) + " " : "";
  command += "node " + quoted(script) + " " + quoted(args.at(0)) + " " + quoted(dir);
  for (size_t i = 1; i < args.size(); ++i) command += " " + quoted(args[i]);
  std::fflush(stdout);
  PeerRun run;
  FILE* pipe = popen(command.c_str(), "r");
  if (pipe == nullptr) return run;
  char buffer[4096];
  for (size_t got; (got = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;) {
    run.output.append(buffer, got);
  }
  const int status = pclose(pipe);
  run.finished = status == 0;
  run.timedOut = WIFEXITED(status) && WEXITSTATUS(status) == 124;  // timeout's own status
  return run;
}

// The number after the first `"key":` at or past `from` in JSON text, and
// where it ends; nothing when there is none.
struct JsonNumber {
  double value = 0;
  size_t end = 0;
};
inline std::optional<JsonNumber> jsonNumber(const std::string& json, const std::string& key,
                                            size_t from = 0) {
  const size_t at = json.find("\"" + key + "\":", from);
  if (at == std::string::npos) return std::nullopt;
  const size_t start = at + key.size() + 3;
  char* end = nullptr;
  const double value = std::strtod(json.c_str() + start, &end);
  if (end == json.c_str() + start) return std::nullopt;
  return JsonNumber{value, static_cast<size_t>(end - json.c_str())};
}

// The text between the quotes after the first `"key":` at or past `from`.
inline std::string jsonText(const std::string& json, const std::string& key, size_t from = 0) {
  const size_t at = json.find("\"" + key + "\":\"", from);
  if (at == std::string::npos) return {};
  const size_t start = at + key.size() + 4;
  return json.substr(start, json.find('"', start) - start);
}

// The entries of a JSON array, each as its text.
inline std::vector<std::string> jsonEntries(const std::string& array) {
  std::vector<std::string> entries;
  int depth = 0;
  size_t start = 0;
  for (size_t i = 0; i < array.size(); ++i) {
    const char c = array[i];
    if (c == '[' || c == '{') {
      if (depth++ == 0) start = i + 1;
    } else if (c == ']' || c == '}') {
      if (--depth == 0) entries.push_back(array.substr(start, i - start));
    } else if (c == ',' && depth == 1) {
      entries.push_back(array.substr(start, i - start));
      start = i + 1;
    }
  }
  return entries;
}

}  // namespace oz::bench
