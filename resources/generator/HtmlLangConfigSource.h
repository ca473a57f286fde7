#pragma once

class VxEditLangConfig;

// Fills the configuration with the built-in definition of HTML: the colour
// groups, tags, keywords, character classes, options and font that the
// program carries as its "HTML" resource.
void BuildHtmlLangConfig(VxEditLangConfig& config);
