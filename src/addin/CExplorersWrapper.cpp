#include "addin/CExplorersWrapper.h"

#include "core/Text.h"
#include "settings/mGlobals.h"

namespace plexa {

namespace {

constexpr int32_t kObjectVariableNotSet = 91;

HostError NoList() {
    return HostError(kObjectVariableNotSet, L"Object variable or With block variable not set");
}

std::shared_ptr<CExplorerWrapper> WrapperArg(const std::vector<Variant>& args) {
    if (args.empty() || !args[0].IsObject()) {
        return nullptr;
    }
    return std::dynamic_pointer_cast<CExplorerWrapper>(args[0].Object());
}

}  // namespace

CExplorersWrapper::CExplorersWrapper(Connect& connect)
    : m_connect(connect), m_list(std::in_place) {}

CExplorersWrapper::~CExplorersWrapper() {
    Done(true);
}

int32_t CExplorersWrapper::Count() const {
    if (!m_list) {
        throw NoList();
    }
    return static_cast<int32_t>(m_list->size());
}

std::shared_ptr<CExplorerWrapper> CExplorersWrapper::Item(int32_t index) const {
    if (index < 1 || index > Count()) {
        throw RuntimeError(vberr::SubscriptOutOfRange);
    }
    return (*m_list)[static_cast<std::size_t>(index - 1)];
}

void CExplorersWrapper::Init(const std::shared_ptr<Explorers>& explorers) {
    // An announcement may shut the add-in down, which drops this object's last owner.
    const auto self = shared_from_this();
    m_oExplorers.Set(explorers, [this](Explorers& e) {
        std::vector<Connection> c;
        c.push_back(e.NewExplorer.Connect(
            [this](const std::shared_ptr<Explorer>& x) { m_oExplorers_NewExplorer(x); }));
        return c;
    });
    const int32_t count = explorers->Count();
    for (int32_t i = 1; i <= count; ++i) {
        auto wrapper = std::make_shared<CExplorerWrapper>(m_connect);
        wrapper->Init(explorers->Item(i), false);
        if (!m_list) {
            return;  // the add-in shut down during the announcement
        }
        m_list->push_back(wrapper);
    }
}

void CExplorersWrapper::m_oExplorers_NewExplorer(const std::shared_ptr<Explorer>& explorer) {
    const auto self = shared_from_this();
    try {
        auto wrapper = std::make_shared<CExplorerWrapper>(m_connect);
        wrapper->InitWaitActivate(explorer);
        if (m_list) {
            m_list->push_back(wrapper);
        }
    } catch (const HostError&) {  // NOLINT(bugprone-empty-catch): the window may be closing
    }
}

void CExplorersWrapper::Done(bool bFullMode) {
    if (m_list) {
        for (const auto& wrapper : *m_list) {
            wrapper->Done();
        }
    }
    if (bFullMode) {
        m_list.reset();
        m_oExplorers.Reset();
    } else {
        m_list.emplace();
    }
}

void CExplorersWrapper::EventFromExplorer(const std::wstring& eventName,
                                          const std::vector<Variant>& args) {
    const auto self = shared_from_this();
    if (text::EqualsNoCase(eventName, L"Close")) {
        if (!m_list) {
            return;
        }
        for (auto i = m_list->size(); i-- > 0;) {
            if (!(*m_list)[i]->GetObject()) {
                m_list->erase(m_list->begin() + static_cast<std::ptrdiff_t>(i));
            }
        }
        if (m_list->empty()) {
            OnCloseAllExplorers.Emit();
        }
    } else if (text::EqualsNoCase(eventName, L"OnExplorer")) {
        const auto announcing = WrapperArg(args);
        bool bFirstExplorer = true;
        if (m_list) {
            for (const auto& wrapper : *m_list) {
                if (wrapper != announcing && !wrapper->WaitingActivateEvent()) {
                    bFirstExplorer = false;
                }
            }
        }
        const bool bNewExplorer = args.size() > 1 && CBool(args[1]);
        OnExplorer.Emit(announcing, bFirstExplorer, bNewExplorer);
    } else if (text::EqualsNoCase(eventName, L"SelectionChange")) {
        OnExplorerSelectionChange.Emit(WrapperArg(args));
    } else if (text::EqualsNoCase(eventName, L"FolderSwitch")) {
        OnExplorerFolderSwitch.Emit(WrapperArg(args));
    } else {
        mGlobals::LogError(L"CExplorersWrapper::CExplorers::EventFromExplorer", 0,
                           L"Unsuported event raised - " + eventName);
    }
}

}  // namespace plexa
