#include "app/AlbivexApp.h"

#include "app/ActivityLog.h"
#include "app/Form1.h"
#include "app/QtPrompts.h"

namespace albivex {

AlbivexApp::AlbivexApp(const Endpoints &endpoints, Prompts *prompts, FolderDialog *folders, UrlOpener *urls,
                       QObject *parent)
    : QObject(parent), m_endpoints(endpoints), m_window(std::make_unique<Form1>())
{
    m_log = std::make_unique<ActivityLog>(m_window->List1);
    if (!prompts || !folders || !urls)
        m_qtPrompts = std::make_unique<QtPrompts>(m_window.get());
    m_context.reset(new AppContext{*m_window, m_state, *m_log, m_network, m_endpoints,
                                   prompts ? *prompts : *m_qtPrompts, folders ? *folders : *m_qtPrompts,
                                   urls ? *urls : *m_qtPrompts, [this] { Q_EMIT quitRequested(); }, {}});

    // Controllers, each driving its part of the window.
}

AlbivexApp::~AlbivexApp()
{
    // Controllers go first: they hold connections into the window.
    m_controllers.clear();
}

void AlbivexApp::start()
{
    m_window->show();
}

} // namespace albivex
