// The bundle library holds only resources: the application icon, the sheet
// picture, the translations, the information keys and the help page,
// embedded under ":/bundle/". A static library needs one source of its own;
// this is it, and it defines nothing.
