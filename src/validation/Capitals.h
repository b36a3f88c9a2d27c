#pragma once

namespace velmora {

// The capital that the keyboard's Caps Lock gives for a letter typed in the
// statement's text fields: Latin a-z and the Greek small letters, accents kept
// (ό gives Ό), final sigma giving Σ. Every other character comes back as it is,
// among them ΐ and ΰ, which have no capital of their own.
char32_t CapitalLetter(char32_t c);

}  // namespace velmora
