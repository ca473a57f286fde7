#include "engine/VxHTMLEdit.h"

#include "language/VxEditLangConfig.h"

#include <strings.h>

bool VxHTMLEdit::IsHtmlConfig() const
{
    const VxEditLangConfig* config = GetLangConfig();
    return config && strcasecmp(config->GetName().c_str(), "HTML") == 0;
}
