// The maker's configuration: support address, social account and package repository, used by the settings pages.
#pragma once

namespace tarnprefs {

// Where the support e-mail goes.
inline constexpr const char* kSupportAddress = "support@tarnwick.example";
// The maker's account on the social network, and its profile page for when no client app is installed.
inline constexpr const char* kTwitterAccount = "tarnwick";
inline constexpr const char* kTwitterProfilePage = "https://twitter.com/tarnwick";
// The package repository's web site; a package's page is https://<host>/package/com.tarnwick.<name>.
inline constexpr const char* kPackageHost = "repo.tarnwick.example";

}  // namespace tarnprefs
