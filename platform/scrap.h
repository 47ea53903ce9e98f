// The clipboard (the scrap): what Copy puts there for other programs, in one
// or more flavors at once, each a MIME type ("text/plain", "text/csv").
#pragma once

#include "types.h"

#include <string>

struct OpaqueScrapRef;
using ScrapRef = OpaqueScrapRef *;
using ScrapFlavorType = std::string;
using ScrapFlavorFlags = std::uint32_t;
enum : ScrapFlavorFlags { kScrapFlavorMaskNone = 0 };
enum : OSStatus { noTypeErr = -102 };

// Empties the clipboard; the flavors put next replace what it held.
OSStatus ClearCurrentScrap();
// The clipboard as it is now.
OSStatus GetCurrentScrap(ScrapRef *outScrap);
// Adds a flavor to the clipboard. Flavors put after one ClearCurrentScrap
// are offered together, as one item.
OSStatus PutScrapFlavor(ScrapRef scrap, const ScrapFlavorType &flavorType, ScrapFlavorFlags flags, long size,
                        const void *data);
// The data of one flavor; noTypeErr when the clipboard lacks it.
OSStatus GetScrapFlavorText(ScrapRef scrap, const ScrapFlavorType &flavorType, std::string *outData);
