// The links to the maker's pages: their addresses, set when the game is built, and the
// actions that follow them. A link whose address is empty is not shown, nor any in classroom
// mode.
#pragma once
#include <string>

struct Link_record {
  std::string home;  // the maker's home page; the visit's query is added when it is opened
  std::string twitter;
  std::string facebook;
};
// Starts with the build's addresses (the CMake cache variables SHOREBOUND_HOME_URL,
// SHOREBOUND_TWITTER_URL, SHOREBOUND_FACEBOOK_URL; empty by default). Tests may set it.
extern Link_record Link_addresses;

// Open a page of the maker in the browser, then save and end with status 1 (Quit_program).
void Open_site();
void Open_twitter();
void Open_facebook();
// Whether a link to the address is shown: it has one, and the game is not in classroom mode
// (where a child must not reach the web).
bool Link_shown(const std::string& address);
// The home page's address with the query that tells where the visit came from.
std::string Site_address();
