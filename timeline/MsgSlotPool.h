#pragma once

#include <array>
#include <cstdint>

// One hand-off record of a posted event: its four values, held until the
// event has been fired.
struct CMsgSlot {
    std::array<std::int32_t, 4> m_value{};
    bool m_inUse = false;
};

// The control's preallocated slots for posted events. A posted event that
// finds every slot in use is dropped, so a container that stops pumping its
// message loop cannot make the control grow without end.
class CMsgSlotPool {
public:
    static constexpr int kSlotCount = 100;

    // The first free slot from index 0, filled and marked in use; null when
    // all are in use.
    CMsgSlot* GetFreeMsgSlot(std::int32_t v0, std::int32_t v1, std::int32_t v2, std::int32_t v3);
    void ReleaseMsgSlot(CMsgSlot* slot);

    int InUse() const;
    int IndexOf(const CMsgSlot* slot) const;

private:
    std::array<CMsgSlot, kSlotCount> m_slots{};
};
