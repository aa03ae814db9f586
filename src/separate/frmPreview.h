// The preview of a separate send, shown before the confirmation when the user asks for it: one
// grid row per personal copy (recipient, address, subject as it will go, each placeholder's value,
// its marks), the count of copies and of marked ones, and the full text of the copy whose row the
// user clicks. Send goes on to the confirmation; Cancel (or the close box) leaves the message as
// it was.
#pragma once

#include <string>

#include "core/Form.h"
#include "separate/CSendPreview.h"

namespace plexa {

class FlexGrid;
class Services;

class frmPreview : public Form {
public:
    frmPreview(Services& services, const CSendPreview& preview, std::wstring body);

    void OnLoad() override;
    void grdCopies_MouseDown(int32_t row, int32_t col);
    void btnSend_Click();
    void btnCancel_Click();

    bool Accepted() const { return m_accepted; }
    // The marks of a copy as the grid shows them ("empty value, duplicate address").
    std::wstring MarksText(uint32_t marks) const;

private:
    void Close();

    Services& m_services;
    const CSendPreview& m_preview;
    std::wstring m_body;
    FlexGrid* m_grid = nullptr;
    bool m_accepted = false;
};

// Shows the preview modal; true when the user chose to go on.
bool ShowPreview(Services& services, const CSendPreview& preview, const std::wstring& body);

}  // namespace plexa
