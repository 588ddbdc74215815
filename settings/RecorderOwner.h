#pragma once

class CEncorda;
class IPrompt;

// The window that hosts the recorder and owns the settings dialogs; through
// it the dialogs reach the recorder's name lists and its immediate settings,
// and show their messages.
class IRecorderOwner
{
public:
    virtual CEncorda& RecorderWidget() = 0;
    virtual IPrompt& MessagePrompt() = 0;

protected:
    ~IRecorderOwner() = default;
};
