#pragma once

#include <atomic>
#include <chrono>
#include <cstdint>
#include <memory>
#include <string>

// A screen-cast-like video node for tests, on the PipeWire daemon the
// environment names (tests/pipewire-exec.sh starts a private one). It offers
// BGRx pictures in shared memory at a fixed rate: the top third red, the
// bottom third blue, and between them a white bar of an eighth of the width
// that moves right by a 64th of the width each picture, on grey.
// Callable from one test thread.
class CPipeWireProducer
{
public:
    static constexpr int PRODUCER_BAR_STEP_DIVISOR = 64; // the bar moves width/64 a picture

    CPipeWireProducer();
    ~CPipeWireProducer(); // removes the node
    CPipeWireProducer(const CPipeWireProducer&) = delete;
    CPipeWireProducer& operator=(const CPipeWireProducer&) = delete;

    // Makes the node and waits until the daemon has listed it; false with
    // the reason when there is no daemon or it refuses.
    bool Start(int nWidth, int nHeight, int nRate, std::string& strReason);
    std::uint32_t NodeId() const;

    // Offers only the new size, as a shared window resized does: the
    // consumer gets a new format mid-stream.
    void Resize(int nWidth, int nHeight);

    // From now on the picture nearest each whole second after origin is
    // all white, as the built-in sources' sync marks are (engine/TestSources.h).
    void MarkSeconds(std::chrono::steady_clock::time_point origin);

    // Sends no more pictures while bStill, as a screen cast does while
    // nothing on the screen changes; the node stays.
    void SetStill(bool bStill);

    // Removes the node, as a desktop does when the user stops sharing.
    void Stop();

    // Pictures sent so far, and the size of the latest. Any thread.
    int PicturesSent() const;
    int LastPictureWidth() const;

private:
    class CNode;
    std::unique_ptr<CNode> m_pNode;
};

// A new connection to the daemon of the environment, as the desktop
// portal's OpenPipeWireRemote hands one out; -1 when there is none. The
// caller closes it.
int ConnectToPipeWire();

// Whether the environment has a PipeWire daemon a test can use, and, when
// not, what to say in the skip.
bool IsPipeWireReachable(std::string& strWhyNot);
