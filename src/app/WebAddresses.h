#pragma once
// Every web address and mail link of the maker, kept in one place. The
// domains are under the reserved top-level domain ".example", so nobody
// else can own them.

namespace WebAddresses {

inline constexpr const char *EnglishSite = "https://www.zendrel.example";
inline constexpr const char *ChineseSite = "https://cn.zendrel.example";
inline constexpr const char *EnglishSupportMail = "mailto:support@zendrel.example";
inline constexpr const char *ChineseSupportMail = "mailto:support@cn.zendrel.example";

// The English product entries: 3 and 4 open the English site's root,
// 1 and 7 one further page, 2, 5 and 6 another one.
inline constexpr const char *EnglishProductA = "https://audio.zendrel.example";
inline constexpr const char *EnglishProductB = "https://dvd.zendrel.example";

} // namespace WebAddresses
