// The network ports on Qt: events of work done off the window thread queued onto it, and the desktop's
// opener for web addresses.
#pragma once

#include <QObject>

#include "platform/event_port.h"
#include "platform/url_opener.h"

namespace quorvel {

// Runs each posted event on the thread of `context`, through its event queue; an event still queued when
// the context is destroyed is dropped. The port must outlive every job that posts to it.
class QtEventPort : public EventPort {
public:
    explicit QtEventPort(QObject* context) : context_(context) {}
    void Post(std::function<void()> event) override;

private:
    QObject* context_;
};

// The desktop's browser: the platform's own opener, else xdg-open.
class QtUrlOpener : public UrlOpener {
public:
    bool OpenUrl(const std::string& url) override;
};

}  // namespace quorvel
