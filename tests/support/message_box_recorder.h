// In the test's own thread: reads every message box the code under test shows and
// answers it with OK, so that code which asks can run to its end inside a test.
#ifndef BRUMIX_TESTS_MESSAGE_BOX_RECORDER_H
#define BRUMIX_TESTS_MESSAGE_BOX_RECORDER_H

#include <windows.h>

#include <string>
#include <vector>

struct RecordedBox {
    std::string caption;
    std::string text;      // as an ANSI program reads it
    std::string utf8Text;  // every character as the box shows it
    HWND owner = nullptr;
    std::vector<int> buttons;  // ids of the buttons it shows, ascending
};

// One at a time: boxes are recorded while it exists.
class MessageBoxRecorder {
public:
    MessageBoxRecorder();
    ~MessageBoxRecorder();
    MessageBoxRecorder(const MessageBoxRecorder&) = delete;
    MessageBoxRecorder& operator=(const MessageBoxRecorder&) = delete;

    const std::vector<RecordedBox>& boxes() const { return boxes_; }
    std::vector<std::string> texts() const;
    std::vector<std::string> utf8Texts() const;

private:
    static LRESULT CALLBACK OnInitialized(int code, WPARAM wParam, LPARAM lParam);

    HHOOK hook_;
    std::vector<RecordedBox> boxes_;
};

#endif
