// The bundle library holds only resources: icons, the
// sheet picture, the strings table, the information keys and the help page,
// embedded under ":/bundle/". A static library needs one source of its own;
// this is it, and it defines nothing.
