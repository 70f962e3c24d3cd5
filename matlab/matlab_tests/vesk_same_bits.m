function same = vesk_same_bits(actual, expected)
%VESK_SAME_BITS  True when two doubles have one size and the same bits, -0 included.
same = isa(actual, 'double') && isa(expected, 'double') && isequal(size(actual), size(expected)) ...
       && isequal(typecast(actual(:), 'uint64'), typecast(expected(:), 'uint64'));
end
