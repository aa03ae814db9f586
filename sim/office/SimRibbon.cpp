#include "sim/office/SimRibbon.h"

#include <algorithm>
#include <cstdio>

#include "core/HostError.h"
#include "core/Text.h"
#include "platform/IResources.h"
#include "sim/windows/ScriptError.h"

namespace plexa::sim {

namespace {

class SimRibbonUI : public IRibbonUI {
public:
    SimRibbonUI(Faults& faults, std::weak_ptr<SimRibbonHost*> host, std::wstring ribbonId)
        : m_faults(faults), m_host(std::move(host)), m_ribbonId(std::move(ribbonId)) {}
    void Invalidate() override {
        m_faults.Check(L"RibbonUI.Invalidate", m_ribbonId);
        if (auto host = m_host.lock()) {
            (*host)->Invalidate(m_ribbonId, L"");
        }
    }
    void InvalidateControl(const std::wstring& controlId) override {
        m_faults.Check(L"RibbonUI.InvalidateControl", controlId);
        if (auto host = m_host.lock()) {
            (*host)->Invalidate(m_ribbonId, controlId);
        }
    }

private:
    Faults& m_faults;
    std::weak_ptr<SimRibbonHost*> m_host;
    std::wstring m_ribbonId;
};

class SimRibbonControl : public IRibbonControl {
public:
    SimRibbonControl(std::wstring id, std::shared_ptr<AutomationObject> context)
        : m_id(std::move(id)), m_context(std::move(context)) {}
    std::wstring Id() override { return m_id; }
    std::shared_ptr<AutomationObject> Context() override { return m_context; }

private:
    std::wstring m_id;
    std::shared_ptr<AutomationObject> m_context;
};

bool IsTrue(const std::wstring& value) {
    return value == L"true" || value == L"1";
}

bool IsToggle(const RibbonElement& e) {
    return e.kind == L"toggleButton" || e.kind == L"checkBox";
}

std::wstring PlainLabel(const std::wstring& label) {
    std::wstring plain;
    for (wchar_t c : label) {
        if (c != L'&') {
            plain += c;
        }
    }
    return plain;
}

std::wstring PictureText(const std::shared_ptr<IPictureDisp>& picture) {
    if (!picture) {
        return L"";
    }
    wchar_t buffer[32];
    std::swprintf(buffer, 32, L"picture 0x%X", picture->Handle());
    return buffer;
}

}  // namespace

SimRibbonHost::SimRibbonHost(Faults& faults, const CustomUiSchema* schema,
                             std::function<int32_t()> clientVersion)
    : m_faults(faults),
      m_schema(schema),
      m_clientVersion(std::move(clientVersion)),
      m_self(std::make_shared<SimRibbonHost*>(this)) {}

SimRibbonHost::~SimRibbonHost() {
    *m_self = nullptr;
    m_self.reset();
}

void SimRibbonHost::Failed(const std::wstring& what, const std::exception& e) {
    if (const auto* host = dynamic_cast<const HostError*>(&e)) {
        m_errors.push_back(what + L": " + host->Description() + L" (" +
                           std::to_wstring(host->Number()) + L")");
    } else {
        m_errors.push_back(what + L": " + text::FromUtf8(e.what()));
    }
}

void SimRibbonHost::SetProvider(IRibbonExtensibility* provider) {
    m_provider = provider;
    if (provider == nullptr) {
        // A new connection asks afresh.
        m_documents.clear();
        return;
    }
    std::erase_if(m_instances, [](const auto& weak) { return weak.expired(); });
    const auto instances = m_instances;
    for (const auto& weak : instances) {
        if (auto instance = weak.lock()) {
            Load(instance->m_ribbonId);
            instance->m_allDirty = true;
        }
    }
}

void SimRibbonHost::Load(const std::wstring& ribbonId) {
    Document& doc = m_documents[ribbonId];
    if (doc.loaded || m_provider == nullptr) {
        return;
    }
    doc.loaded = true;
    ++doc.asked;
    std::wstring markup;
    try {
        markup = m_provider->GetCustomUI(ribbonId);
    } catch (const HostError& e) {
        Failed(L"GetCustomUI(" + ribbonId + L")", e);
        return;
    }
    if (markup.empty()) {
        return;
    }
    try {
        // Without a client version the ribbon is the first one's (12).
        doc.root = std::make_unique<RibbonElement>(
            m_schema != nullptr ? m_schema->Read(markup)
                                : ReadCustomUi(markup, m_clientVersion ? m_clientVersion() : 12));
    } catch (const RibbonMarkupError& e) {
        Failed(L"mark-up of " + ribbonId + L" ignored", e);
        return;
    }
    doc.ui = std::make_shared<SimRibbonUI>(m_faults, m_self, ribbonId);
    const std::wstring onLoad = doc.root->Attr(L"onLoad");
    if (!onLoad.empty()) {
        try {
            m_provider->InvokeOnLoad(onLoad, doc.ui);
        } catch (const HostError& e) {
            Failed(onLoad + L" of " + ribbonId, e);
        }
    }
}

std::shared_ptr<RibbonInstance> SimRibbonHost::Open(const std::wstring& ribbonId,
                                                    std::shared_ptr<AutomationObject> context,
                                                    std::wstring windowName) {
    auto instance = std::make_shared<RibbonInstance>();
    instance->m_ribbonId = ribbonId;
    instance->m_context = std::move(context);
    instance->m_windowName = std::move(windowName);
    m_instances.push_back(instance);
    Load(ribbonId);
    return instance;
}

void SimRibbonHost::Close(const std::shared_ptr<RibbonInstance>& instance) {
    std::erase_if(m_instances, [&instance](const auto& weak) {
        auto locked = weak.lock();
        return !locked || locked == instance;
    });
    instance->m_context.reset();
}

void SimRibbonHost::Invalidate(const std::wstring& ribbonId, const std::wstring& controlId) {
    for (const auto& weak : m_instances) {
        auto instance = weak.lock();
        if (!instance || instance->m_ribbonId != ribbonId) {
            continue;
        }
        if (controlId.empty()) {
            instance->m_allDirty = true;
        } else {
            instance->m_dirty.insert(controlId);
        }
    }
}

int SimRibbonHost::Asked(const std::wstring& ribbonId) const {
    auto it = m_documents.find(ribbonId);
    return it == m_documents.end() ? 0 : it->second.asked;
}

std::shared_ptr<IRibbonControl> SimRibbonHost::ControlFor(RibbonInstance& instance,
                                                          const std::wstring& id) {
    return std::make_shared<SimRibbonControl>(id, instance.m_context);
}

void SimRibbonHost::Refresh(RibbonInstance& instance) {
    auto it = m_documents.find(instance.m_ribbonId);
    if (it == m_documents.end() || !it->second.root || m_provider == nullptr) {
        return;
    }
    Evaluate(instance, *it->second.root, false);
    instance.m_allDirty = false;
    instance.m_dirty.clear();
}

void SimRibbonHost::Evaluate(RibbonInstance& instance, const RibbonElement& element,
                             bool parentDirty) {
    const std::wstring id = element.Id();
    bool dirty = parentDirty;
    if (!id.empty()) {
        dirty =
            instance.m_allDirty || instance.m_dirty.contains(id) || !instance.m_states.contains(id);
        if (dirty) {
            RibbonInstance::State state;
            auto control = ControlFor(instance, id);
            auto text = [&](const wchar_t* getter, const wchar_t* attribute) {
                const std::wstring callback = element.Attr(getter);
                if (callback.empty()) {
                    return element.Attr(attribute);
                }
                try {
                    return m_provider->InvokeGetText(callback, control);
                } catch (const HostError& e) {
                    Failed(callback + L"(" + id + L")", e);
                    return std::wstring();
                }
            };
            auto flag = [&](const wchar_t* getter, const wchar_t* attribute, bool absent) {
                const std::wstring callback = element.Attr(getter);
                if (callback.empty()) {
                    return element.Has(attribute) ? IsTrue(element.Attr(attribute)) : absent;
                }
                try {
                    return m_provider->InvokeGetBool(callback, control);
                } catch (const HostError& e) {
                    Failed(callback + L"(" + id + L")", e);
                    return absent;
                }
            };
            state.label = text(L"getLabel", L"label");
            state.screentip = text(L"getScreentip", L"screentip");
            state.visible = flag(L"getVisible", L"visible", true);
            state.enabled = flag(L"getEnabled", L"enabled", true);
            state.showLabel = flag(L"getShowLabel", L"showLabel", true);
            if (IsToggle(element)) {
                state.pressed = flag(L"getPressed", L"pressed", false);
            }
            const std::wstring getImage = element.Attr(L"getImage");
            if (!getImage.empty()) {
                try {
                    state.image = PictureText(m_provider->InvokeGetImage(getImage, control));
                } catch (const HostError& e) {
                    Failed(getImage + L"(" + id + L")", e);
                }
            } else if (element.Has(L"imageMso")) {
                state.image = element.Attr(L"imageMso");
            } else if (element.Has(L"image")) {
                state.image = L"image " + element.Attr(L"image");
            }
            instance.m_states[id] = state;
        }
    }
    for (const auto& child : element.children) {
        Evaluate(instance, child, false);
    }
}

void SimRibbonHost::Describe(RibbonInstance& instance, const RibbonElement& element, int depth,
                             std::wstring& out) {
    const std::wstring id = element.Id();
    int childDepth = depth;
    if (!id.empty()) {
        const auto& s = instance.m_states[id];
        std::wstring line(static_cast<std::size_t>(depth) * 2, L' ');
        line += element.kind + L" " + id;
        if (!s.label.empty()) {
            line += L" \"" + s.label + L"\"";
        }
        if (!s.visible) {
            line += L" hidden";
        }
        if (!s.enabled) {
            line += L" disabled";
        }
        if (s.pressed) {
            line += L" pressed";
        }
        if (!s.showLabel) {
            line += L" no-label";
        }
        if (!s.screentip.empty()) {
            line += L" tip \"" + s.screentip + L"\"";
        }
        if (!s.image.empty()) {
            line += L" image " + s.image;
        }
        out += line + L"\n";
        childDepth = depth + 1;
    }
    for (const auto& child : element.children) {
        Describe(instance, child, childDepth, out);
    }
}

std::wstring SimRibbonHost::StateText(RibbonInstance& instance) {
    Refresh(instance);
    auto it = m_documents.find(instance.m_ribbonId);
    if (it == m_documents.end() || !it->second.root) {
        return L"(no custom ribbon)\n";
    }
    std::wstring out;
    Describe(instance, *it->second.root, 0, out);
    return out;
}

const RibbonElement* SimRibbonHost::Find(const RibbonElement& element, const std::wstring& control,
                                         RibbonInstance& instance, bool& reachable) const {
    const std::wstring id = element.Id();
    bool here = true;
    if (!id.empty()) {
        const auto& s = instance.m_states.at(id);
        here = s.visible && s.enabled;
        if (id == control ||
            (!s.label.empty() && text::EqualsNoCase(PlainLabel(s.label), PlainLabel(control)))) {
            reachable = here;
            return &element;
        }
    }
    for (const auto& child : element.children) {
        if (const RibbonElement* found = Find(child, control, instance, reachable)) {
            reachable = reachable && here;
            return found;
        }
    }
    return nullptr;
}

bool SimRibbonHost::Has(RibbonInstance& instance, const std::wstring& control) {
    Refresh(instance);
    auto it = m_documents.find(instance.m_ribbonId);
    if (it == m_documents.end() || !it->second.root) {
        return false;
    }
    bool reachable = false;
    return Find(*it->second.root, control, instance, reachable) != nullptr;
}

void SimRibbonHost::Click(RibbonInstance& instance, const std::wstring& control) {
    Refresh(instance);
    auto it = m_documents.find(instance.m_ribbonId);
    if (it == m_documents.end() || !it->second.root) {
        throw ScriptError(L"the window " + instance.m_windowName + L" has no custom ribbon");
    }
    bool reachable = false;
    const RibbonElement* element = Find(*it->second.root, control, instance, reachable);
    if (element == nullptr) {
        throw ScriptError(L"the ribbon of " + instance.m_windowName + L" has no control " +
                          control);
    }
    if (!reachable) {
        throw ScriptError(L"the ribbon control " + control + L" is hidden or disabled");
    }
    const std::wstring onAction = element->Attr(L"onAction");
    if (onAction.empty()) {
        throw ScriptError(L"the ribbon control " + control + L" does nothing when clicked");
    }
    const std::wstring id = element->Id();
    auto ctrl = ControlFor(instance, id);
    try {
        if (IsToggle(*element)) {
            auto& state = instance.m_states[id];
            state.pressed = !state.pressed;
            m_provider->InvokeToggleAction(onAction, ctrl, state.pressed);
        } else {
            m_provider->InvokeAction(onAction, ctrl);
        }
    } catch (const HostError& e) {
        Failed(onAction + L"(" + id + L")", e);
    }
}

}  // namespace plexa::sim
