// A stand-in web browser for the test prefix: fetches the address it is given, so the test
// site's request log shows that the page was opened, and exits.
var request = new ActiveXObject("WinHttp.WinHttpRequest.5.1");
request.Open("GET", WScript.Arguments(0), false);
request.Send();
