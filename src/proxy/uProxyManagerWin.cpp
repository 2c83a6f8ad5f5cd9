#include "proxy/uProxyManager.h"

#include "proxy/InfoGotThreadWin.h"

namespace vp {

void TProxyManager::GetCurrentLocalInfo()
{
    auto* thread = new TInfoGotThread(true);
    thread->FURL = LocalInfoURL();
    thread->FreeOnTerminate = true;
    std::weak_ptr<TProxyManager*> alive = FAlive;
    thread->FOnInfoGot = [alive](const String& aRet) {
        if (std::shared_ptr<TProxyManager*> manager = alive.lock())
            (*manager)->LocalInfoGot(aRet);
    };
    thread->Start();
}

void TProxyManager::Touch(const TProxyRec& aPR)
{
    auto* thread = new TInfoGotThread(true);
    thread->FURL = TouchURL(aPR);
    thread->FreeOnTerminate = true;
    // The keep-alive reply is not looked at: no handler.
    thread->Start();
}

} // namespace vp
