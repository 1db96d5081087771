#include "timeline/MsgSlotPool.h"

#include <algorithm>

CMsgSlot* CMsgSlotPool::GetFreeMsgSlot(std::int32_t v0, std::int32_t v1, std::int32_t v2,
                                       std::int32_t v3)
{
    for (CMsgSlot& slot : m_slots) {
        if (!slot.m_inUse) {
            slot.m_value = {v0, v1, v2, v3};
            slot.m_inUse = true;
            return &slot;
        }
    }
    return nullptr;
}

void CMsgSlotPool::ReleaseMsgSlot(CMsgSlot* slot)
{
    if (slot && IndexOf(slot) >= 0)
        slot->m_inUse = false;
}

int CMsgSlotPool::InUse() const
{
    return static_cast<int>(
        std::count_if(m_slots.begin(), m_slots.end(), [](const CMsgSlot& s) { return s.m_inUse; }));
}

int CMsgSlotPool::IndexOf(const CMsgSlot* slot) const
{
    for (std::size_t i = 0; i < m_slots.size(); ++i) {
        if (&m_slots[i] == slot)
            return static_cast<int>(i);
    }
    return -1;
}
