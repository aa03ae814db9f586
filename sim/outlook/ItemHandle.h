// What one host object of an item works on, shared with what it hands out (its recipients and
// user properties, the message window showing it, that window's current item): the item as
// the store keeps it, and the object's own copy, made when something may change the item, which
// holds the changes until they are saved. Other objects of the item see the saved state only.
#pragma once

#include <memory>

#include "sim/store/SimSession.h"

namespace plexa::sim {

class ItemHandle {
public:
    ItemHandle(SimSession& session, std::shared_ptr<ItemRecord> stored)
        : m_session(session), m_stored(std::move(stored)) {}

    // The item as stored: its entry id, folder and events.
    const std::shared_ptr<ItemRecord>& Stored() const { return m_stored; }
    // The object's own copy, made on first use.
    const std::shared_ptr<ItemRecord>& Edit();
    // What a read sees: the copy once there is one, else the stored item.
    const ItemRecord& Read() const { return m_copy ? *m_copy : *m_stored; }
    bool HasChanges() const { return m_copy && m_copy->HasChanges(); }
    // Writes the changes to the store and saves the item (also an unchanged one), without
    // the item's events.
    void Save();
    // What Send, Move and Copy do first: the changes go to the stored item; an item never saved
    // is saved unless keepUnsaved (the transport then saves it in the Outbox itself).
    void SaveFirst(bool keepUnsaved = false);
    // Drops the changes.
    void Drop();

private:
    SimSession& m_session;
    std::shared_ptr<ItemRecord> m_stored;
    std::shared_ptr<ItemRecord> m_copy;
};

}  // namespace plexa::sim
