#pragma once

#include <QString>

class ProfileFile;
class TForm1;
class TForm2;
class TForm3;
class TForm4;
class TForm5;
class TForm6;

// The six windows of the program, each created once and alive until the end: at start-up, or
// the login window first and the others as soon as it is on screen.
extern TForm1* Form1; // login
extern TForm2* Form2; // main window of the open account
extern TForm3* Form3; // about
extern TForm4* Form4; // help
extern TForm5* Form5; // year chart
extern TForm6* Form6; // food database editor

extern const QString VersionText;

// The account open now: the text of the login window's account box.
QString CurrentAccountName();
// The accounts file, as the login window holds it.
ProfileFile& AccountsFile();

// Creates the windows in their order and destroys them in the reverse order.
class WindowSet {
  public:
    // LoginFirst creates the login window alone: the others come once it has been painted (or
    // at CreateRemainingWindows()), so that a person sees it sooner.
    enum class Start { AllWindows, LoginFirst };
    explicit WindowSet(Start start = Start::AllWindows);
    ~WindowSet();
    WindowSet(const WindowSet&) = delete;
    WindowSet& operator=(const WindowSet&) = delete;
};

// Creates the windows that do not exist yet, in their order; nothing when all do. Whatever
// needs a window other than the login window calls it first.
void CreateRemainingWindows();
