#include "sim/outlook/ItemHandle.h"

namespace plexa::sim {

const std::shared_ptr<ItemRecord>& ItemHandle::Edit() {
    if (!m_copy) {
        m_copy = m_session.CopyToEdit(m_stored);
    }
    return m_copy;
}

void ItemHandle::Save() {
    if (m_copy) {
        m_session.SaveCopy(*m_copy);
    } else {
        m_session.Save(m_stored);
    }
}

void ItemHandle::SaveFirst(bool keepUnsaved) {
    if (!m_stored->IsSaved() && keepUnsaved) {
        if (m_copy) {
            m_stored->CopyContentFrom(*m_copy);
            m_copy->MarkSaved();
        }
        return;
    }
    if (HasChanges() || !m_stored->IsSaved()) {
        Save();
    }
}

void ItemHandle::Drop() {
    if (m_copy) {
        m_session.DropChanges(*m_copy);
    }
}

}  // namespace plexa::sim
