// The ribbons the client loaded for the add-in, one IRibbonUI per ribbon id (the folder windows'
// and the message windows'), seen as one: Connect keeps this as its ribbon, so that a refresh
// reaches every ribbon that may show the control. Each ribbon is asked even when another fails;
// the first failure is then thrown.
#pragma once

#include <exception>
#include <memory>
#include <string>
#include <vector>

#include "core/HostError.h"
#include "host/office/Ribbon.h"

namespace plexa {

class CRibbonSet : public IRibbonUI {
public:
    // Adds a loaded ribbon; one already known is not added twice.
    void Add(const std::shared_ptr<IRibbonUI>& ribbon) {
        for (const auto& known : m_ribbons) {
            if (known == ribbon) {
                return;
            }
        }
        m_ribbons.push_back(ribbon);
    }
    std::size_t Count() const { return m_ribbons.size(); }

    void Invalidate() override {
        ForEach([](IRibbonUI& r) { r.Invalidate(); });
    }
    void InvalidateControl(const std::wstring& controlId) override {
        ForEach([&controlId](IRibbonUI& r) { r.InvalidateControl(controlId); });
    }

private:
    template <typename Call>
    void ForEach(Call call) {
        std::exception_ptr first;
        for (const auto& ribbon : m_ribbons) {
            try {
                call(*ribbon);
            } catch (const HostError&) {
                if (!first) {
                    first = std::current_exception();
                }
            }
        }
        if (first) {
            std::rethrow_exception(first);
        }
    }

    std::vector<std::shared_ptr<IRibbonUI>> m_ribbons;
};

}  // namespace plexa
