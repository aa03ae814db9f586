#include "separate/frmPreview.h"

#include <utility>

#include "core/FlexGrid.h"
#include "core/HostError.h"
#include "core/Variant.h"
#include "platform/IUiShell.h"
#include "separate/UnloadOnExit.h"
#include "settings/CLang.h"
#include "settings/Services.h"
#include "settings/mGlobals.h"

namespace plexa {

namespace {

constexpr int32_t kFixedCols = 3;  // recipient, address, subject; then the values, then marks

}  // namespace

frmPreview::frmPreview(Services& services, const CSendPreview& preview, std::wstring body)
    : Form(L"frmPreview"), m_services(services), m_preview(preview), m_body(std::move(body)) {
    caption = L"Plexa - Preview";
    Add(L"lblInfo", ControlType::Label);
    m_grid = &AddControl<FlexGrid>(L"grdCopies");
    m_grid->onMouseDown = [this](int32_t row, int32_t col) { grdCopies_MouseDown(row, col); };
    Add(L"lblCopy", ControlType::Label).caption = L"The copy you clicked:";
    Add(L"txtCopy", ControlType::TextBox);
    AddButton(L"btnSend", L"Send", [this] { btnSend_Click(); });
    AddButton(L"btnCancel", L"Cancel", [this] { btnCancel_Click(); });
}

std::wstring frmPreview::MarksText(uint32_t marks) const {
    CLang& lang = m_services.Lang();
    std::wstring out;
    const auto add = [&](uint32_t mark, const wchar_t* key) {
        if ((marks & mark) != 0) {
            out += (out.empty() ? L"" : L", ") + lang.Item(key);
        }
    };
    add(MarkEmptyValue, L"LID_PREVIEW_MARK_EMPTY");
    add(MarkBlankValue, L"LID_PREVIEW_MARK_BLANK");
    add(MarkUnreplaced, L"LID_PREVIEW_MARK_UNREPLACED");
    add(MarkDuplicate, L"LID_PREVIEW_MARK_DUPLICATE");
    return out;
}

void frmPreview::OnLoad() {
    CLang& lang = m_services.Lang();
    lang.LocalizeForm(*this);
    picture = m_services.Options().MAIN_ICON();
    const auto& copies = m_preview.Copies();
    const auto& tokens = m_preview.Tokens();
    (*this)[L"lblInfo"].caption =
        lang.Item(L"LID_PREVIEW_INFO",
                  {Variant(static_cast<int32_t>(copies.size())), Variant(m_preview.MarkedCount())});
    const auto cols = static_cast<int32_t>(kFixedCols + tokens.size() + 1);
    m_grid->SetCols(cols);
    m_grid->SetRows(static_cast<int32_t>(copies.size()) + 1);
    m_grid->SetTextMatrix(0, 0, lang.Item(L"LID_PREVIEW_COL_RECIPIENT"));
    m_grid->SetTextMatrix(0, 1, lang.Item(L"LID_PREVIEW_COL_ADDRESS"));
    m_grid->SetTextMatrix(0, 2, lang.Item(L"LID_PREVIEW_COL_SUBJECT"));
    for (std::size_t t = 0; t < tokens.size(); ++t) {
        m_grid->SetTextMatrix(0, static_cast<int32_t>(kFixedCols + t), tokens[t]);
    }
    m_grid->SetTextMatrix(0, cols - 1, lang.Item(L"LID_PREVIEW_COL_MARKS"));
    for (std::size_t i = 0; i < copies.size(); ++i) {
        const PreviewCopy& copy = copies[i];
        const auto row = static_cast<int32_t>(i + 1);
        m_grid->SetTextMatrix(row, 0, copy.recipient);
        m_grid->SetTextMatrix(row, 1, copy.address);
        m_grid->SetTextMatrix(row, 2, copy.subject);
        for (std::size_t t = 0; t < copy.values.size(); ++t) {
            m_grid->SetTextMatrix(row, static_cast<int32_t>(kFixedCols + t), copy.values[t]);
        }
        std::wstring marks = MarksText(copy.marks);
        for (const auto& word : copy.unreplaced) {
            marks += L" " + word;
        }
        m_grid->SetTextMatrix(row, cols - 1, marks);
    }
}

void frmPreview::grdCopies_MouseDown(int32_t row, int32_t /*col*/) {
    const auto& copies = m_preview.Copies();
    if (row < 1 || row > static_cast<int32_t>(copies.size())) {
        return;
    }
    const PreviewCopy& copy = copies[static_cast<std::size_t>(row - 1)];
    m_grid->row = row;
    (*this)[L"txtCopy"].text = copy.recipient + L" <" + copy.address + L">\r\n" + copy.subject +
                               L"\r\n\r\n" +
                               CSendPreview::FillText(m_body, m_preview.Tokens(), copy.values);
}

void frmPreview::btnSend_Click() {
    m_accepted = true;
    Close();
}

void frmPreview::btnCancel_Click() {
    m_accepted = false;
    Close();
}

void frmPreview::Close() {
    unloaded = true;
    try {
        m_services.Ports().ui.Unload(*this);
    } catch (const HostError& e) {
        mGlobals::LogError(L"frmPreview::Close", e);
    }
}

bool ShowPreview(Services& services, const CSendPreview& preview, const std::wstring& body) {
    IUiShell& ui = services.Ports().ui;
    frmPreview dialog(services, preview, body);
    const UnloadOnExit unload(ui, dialog, L"frmPreview::ShowPreview");
    ui.Show(dialog, true);
    return dialog.Accepted();
}

}  // namespace plexa
