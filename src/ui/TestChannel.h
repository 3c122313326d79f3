// The test-only state channel: in a build with test hooks, when the environment variable
// KEYVET_STATE_FILE names a file, the program writes its live state there (every window and
// control with its texts, states and place on screen, the message dialog, the key state) after
// the main window's first paint and whenever it receives SIGUSR1. End-to-end tests read the
// boxes' texts from it instead of reading pixels. Without test hooks nothing of it is built.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

namespace ui {

class TFrontEnd;
class TFormView;

class TTestChannel {
  public:
    // Null unless built with test hooks and KEYVET_STATE_FILE is set.
    static std::unique_ptr<TTestChannel> FromEnvironment(TFrontEnd& frontEnd);

    TTestChannel(TFrontEnd& frontEnd, std::string path);
    ~TTestChannel();
    TTestChannel(const TTestChannel&) = delete;
    TTestChannel& operator=(const TTestChannel&) = delete;

    void WindowPainted(TFormView& view);
    // Writes the state file now (through a temporary file, so a reader never sees half of it).
    void Write();

  private:
    static void Poll(void* channel);
    TFrontEnd& m_frontEnd;
    std::string m_path;
    // Wall-clock time of the main window's first paint, nanoseconds since the epoch; 0 before.
    int64_t m_firstPaint = 0;
};

// The program's live state as "key=value" lines (see TTestChannel); values escape backslash,
// line feed and carriage return as \\, \n and \r.
std::string DescribeState(TFrontEnd& frontEnd);

// A value as DescribeState writes it.
std::string EscapeValue(const std::string& text);

}  // namespace ui
