// The addresses of the maker's pages, in one place, and the actions that leave the game for
// them.
#include "scenes/links.h"

#include "platform/config.h"
#include "platform/platform.h"
#include "scenes/switches.h"

Link_record Link_addresses = {SHOREBOUND_HOME_URL, SHOREBOUND_TWITTER_URL,
                              SHOREBOUND_FACEBOOK_URL};

namespace {

// The product id of the link statistics, with the platform it runs on.
const char* const Product = "shorebound_linux";

void Leave_for(const std::string& address) {
  Open_url(address);
  Quit_program();
}

}  // namespace

bool Link_shown(const std::string& address) { return !address.empty() && !Config.classroom; }

std::string Site_address() {
  return Link_addresses.home + "?utm_source=software&utm_medium=" + Product +
         "&utm_term=prog&utm_content=" + SHOREBOUND_VERSION + "&utm_campaign=" + Product;
}

void Open_site() { Leave_for(Site_address()); }
void Open_twitter() { Leave_for(Link_addresses.twitter); }
void Open_facebook() { Leave_for(Link_addresses.facebook); }
