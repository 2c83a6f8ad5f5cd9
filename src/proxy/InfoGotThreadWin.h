// The worker thread of the location lookup and the keep-alive request, on WinINet.
#pragma once

#include "proxy/InfoGotThread.h"

namespace vp {

class TInfoGotThread : public TThread {
public:
    explicit TInfoGotThread(bool aCreateSuspended);

    // The reply body.
    String FRet;
    // The address to fetch.
    String FURL;
    // Called on the user-interface thread with a non-empty reply; may be unset.
    TOnInfoGot FOnInfoGot;
    THttpTimeouts FTimeouts;

protected:
    void Execute() override;

private:
    // FRet := the body of an accepted reply; false when there is none.
    bool Fetch();
};

} // namespace vp
