#pragma once

namespace albivex {

// How a saved picture's file name is formed from its sequence number and name.
enum class NamingMode {
    SequenceAndName, // "12.abc.jpg"; the default
    NameOnly, // "abc.jpg"; pictures of one album with the same name replace each other
    NameAndRandom, // "abc7055.jpg"; four random digits, drawn anew for every file
};

} // namespace albivex
