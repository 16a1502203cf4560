function OnFrame() local t = {1, 2, x = "y"} return #t > 1 end
-- comment
