#include "html.h"

#include <iterator>

namespace quorix::cli::html {
namespace {

constexpr const char* kColours[] = {"#ffd8a8", "#c3fae8", "#d0bfff", "#ffec99", "#a5d8ff",
                                    "#ffc9c9", "#b2f2bb", "#eebefa", "#d8f5a2", "#99e9f2"};

constexpr char kPageHead[] = R"(<!DOCTYPE html>
<html lang="pt-BR"><head><meta charset="utf-8"><title>)";
constexpr char kPageStyle[] = R"(</title>
<style>
body { font-family: sans-serif; margin: 1.5em; color: #222; }
h1 { font-size: 1.2em; }
h2 { font-size: 1.05em; margin-top: 1.6em; }
.line { font-family: monospace; font-size: 14px; white-space: pre; margin: 2px 0; }
.no { display: inline-block; width: 4em; color: #888; text-align: right; padding-right: .8em; }
.kind { font-family: sans-serif; font-size: 12px; color: #555; margin-top: .7em; }
.f { border-radius: 2px; }
.f:hover { outline: 2px solid #333; }
.bad { outline: 2px solid #e03131; }
.problem { font-family: sans-serif; font-size: 12px; color: #c92a2a; margin-left: 4.8em; }
.ok { color: #2b8a3e; }
table { border-collapse: collapse; font-size: 13px; }
td, th { padding: 2px 8px; text-align: left; vertical-align: top; }
td.n { text-align: right; font-family: monospace; }
</style></head><body>
)";

}  // namespace

std::string Escaped(std::string_view s) {
  std::string out;
  for (char c : s) {
    switch (c) {
      case '&':
        out += "&amp;";
        break;
      case '<':
        out += "&lt;";
        break;
      case '>':
        out += "&gt;";
        break;
      case '"':
        out += "&quot;";
        break;
      default:
        out += c;
    }
  }
  return out;
}

std::string PageStart(std::string_view title) { return kPageHead + Escaped(title) + kPageStyle; }

const char* FieldColour(size_t field) { return kColours[field % std::size(kColours)]; }

}  // namespace quorix::cli::html
