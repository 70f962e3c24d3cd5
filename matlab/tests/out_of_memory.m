addpath ('/work/wt-refusals/build/octave-native');
function kb = virtual_kilobytes ()
  kb = str2double (regexp (fileread ('/proc/self/status'), 'VmSize:\s*(\d+)', 'tokens'){1}{1});
end
images = {zeros(16000, 'uint8'), zeros(10000)};
for name = {'Vesk', 'Vesk2'}
  F = str2func (name{1});
  for k = 1:numel (images)
    before = virtual_kilobytes ();
    try
      map = F (images{k});
      printf ('no error\n');
    catch err
      printf ('%s|%s|%d\n', err.identifier, err.message, virtual_kilobytes () - before);
    end
    [first, second] = F (magic (40));
    printf ('%s\n', reshape (num2hex ([first(:); second(:)])', 1, []));
  end
end