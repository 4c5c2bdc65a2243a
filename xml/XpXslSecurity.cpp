#include "xml/XpXslSecurity.h"

#include "platform/Exception.h"
#include "xml/XpXslHandles.h"

namespace stellik {

namespace {

class TForbiddingPrefs {
public:
    TForbiddingPrefs() : Prefs(xsltNewSecurityPrefs()) {
        if (!Prefs) {
            throw Exception("Cannot Apply XSL stylesheet");
        }
        for (xsltSecurityOption option :
             {XSLT_SECPREF_READ_FILE, XSLT_SECPREF_WRITE_FILE, XSLT_SECPREF_CREATE_DIRECTORY,
              XSLT_SECPREF_READ_NETWORK, XSLT_SECPREF_WRITE_NETWORK}) {
            xsltSetSecurityPrefs(Prefs.get(), option, xsltSecurityForbid);
        }
        xsltSetDefaultSecurityPrefs(Prefs.get());
    }
    // The default must not point at freed preferences during the rest of the shutdown.
    ~TForbiddingPrefs() { xsltSetDefaultSecurityPrefs(nullptr); }
    TForbiddingPrefs(const TForbiddingPrefs&) = delete;
    TForbiddingPrefs& operator=(const TForbiddingPrefs&) = delete;

    xsltSecurityPrefs* Get() const { return Prefs.get(); }

private:
    XsltSecurityPrefsPtr Prefs;
};

} // namespace

xsltSecurityPrefs* XpForbiddingSecurityPrefs() {
    static const TForbiddingPrefs prefs;
    return prefs.Get();
}

void XpForbidAccess(xsltTransformContext* context) {
    if (xsltSetCtxtSecurityPrefs(XpForbiddingSecurityPrefs(), context) != 0) {
        throw Exception("Cannot Apply XSL stylesheet");
    }
}

} // namespace stellik
