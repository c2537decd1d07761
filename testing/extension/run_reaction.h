#pragma once
// Carries out what the configuration asks for at one moment, through the host
// interface, recording every answer and every post.

#include "extension_config.h"
#include "extensions/wrapper_app.h"

// `during` names the host's call ("Init", ...); `pageMessage` is the page message
// being answered, or null.
void RunReaction(IWrapperApp& app, const Reaction& reaction, const char* during, const char* pageMessage);
