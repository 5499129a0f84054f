// placeholder until the folder's first source lands
