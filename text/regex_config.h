// The one place that configures Boost.Regex for this program.
//
// On Windows the expressions use the Win32 traits, so character classes and case folding
// follow the system's code page. Boost's own configuration hides those traits from every GCC
// on Windows (an old workaround), so it is read first and the switch undone before the rest.
// Natively the C++-locale traits stand in, for fast tests of everything that does not depend
// on the locale's character classes.
#pragma once

// A bound on the work one search may do before the library gives up with an exception: see
// the note in regex.cpp on pathological patterns.
#ifndef BOOST_REGEX_MAX_STATE_COUNT
#define BOOST_REGEX_MAX_STATE_COUNT 100000000
#endif

#include <boost/regex/config.hpp>

#if defined(_WIN32)
#undef BOOST_REGEX_NO_W32
#endif

#include <boost/regex.hpp>

namespace quillet::text {

#if defined(_WIN32)
using Expression = boost::basic_regex<char, boost::regex_traits<char, boost::w32_regex_traits<char>>>;
#else
using Expression = boost::basic_regex<char, boost::regex_traits<char, boost::cpp_regex_traits<char>>>;
#endif

}  // namespace quillet::text
