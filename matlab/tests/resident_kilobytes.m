## KILOBYTES = resident_kilobytes (): the process's resident size (VmRSS).
function kilobytes = resident_kilobytes ()
  status = fileread ("/proc/self/status");
  kilobytes = str2double (regexp (status, 'VmRSS:\s*(\d+)', "tokens", "once"){1});
endfunction
