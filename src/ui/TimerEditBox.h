#pragma once
// Asks for the seconds of a pattern's timer action: digits and at most one point.
#include "ui/EditBox.h"

class Action;

// The pattern editor takes a changed action into its pattern.
class PatternChangeListener {
public:
    virtual void ApplyChanges() = 0;
    // Takes the action out of its pattern.
    virtual void DropAction(Action* action) = 0;

protected:
    ~PatternChangeListener() = default;
};

class TimerEditBox : public EditBox {
public:
    TimerEditBox();

    void OnOpen() override;
    void Accept() override;
    // A new action's timer never given goes with its action; an old one keeps its timer.
    void Cancel() override;
    bool IsValidText(const String& proposed) const override;

    Action* action = nullptr;                   // not owned
    PatternChangeListener* listener = nullptr;  // the opener
    bool newAction = false;                     // the action was added for this box
};

TimerEditBox& GetTimerEditBox();
