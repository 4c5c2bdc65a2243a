// xml/XpXslSecurity.h -- what a stylesheet may reach outside its input: nothing
#pragma once

#include <libxslt/security.h>

namespace stellik {

// Security preferences that refuse reading and writing files, creating folders and reading
// and writing over the network (document(), xsl:document, exsl:document). They are also
// made the process's default preferences, which libxslt consults while it compiles a
// stylesheet (xsl:import, xsl:include). They live until the process ends.
xsltSecurityPrefs* XpForbiddingSecurityPrefs();

// Gives context the forbidding preferences; raises when libxslt refuses them.
void XpForbidAccess(xsltTransformContext* context);

} // namespace stellik
