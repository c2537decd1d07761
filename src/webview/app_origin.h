#pragma once
// The app origin: a fixed https origin that exists nowhere on the network. Its
// host lies under the reserved localhost domain so it can never reach a server.
inline constexpr char appOriginUrl[] = "https://tessarine.localhost/";
