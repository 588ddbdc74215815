#pragma once

// What a CSkinScrollBar scrolls, in rows: the bar reads the position from
// its owner and asks the owner to move; the owner moves the thumb after.
class IScrollBarOwner
{
public:
    // Top row shown, from 0 to GetScrollLimit().
    virtual int GetScrollPos() const = 0;
    virtual int GetScrollLimit() const = 0;
    // Both clamp to the scroll range.
    virtual void ScrollLines(int nLines) = 0;
    virtual void ScrollPages(int nPages) = 0;

protected:
    ~IScrollBarOwner() = default;
};
